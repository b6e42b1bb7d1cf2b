// Fuzz target: passwd-style records. Numeric fields read exactly as glibc's
// strtoul reads a uid; any bytes split into records and pass field tests.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "SystemPlugin/common/ConfigLines.h"
#include "SystemPlugin/common/RecordFilter.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzzing {

namespace {

using SystemPlugin::RecordFilter;

// glibc's reading of a uid field: strtoul base 10 to the field's end, 32 bits.
bool strtoulReads(const std::string& field, std::uint32_t& number) {
    if (field.find('\0') != std::string::npos)
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(field.c_str(), &end, 10);
    if (end == field.c_str() || *end != '\0' || errno == ERANGE || value > UINT32_MAX)
        return false;
    number = static_cast<std::uint32_t>(value);
    return true;
}

} // namespace

int fuzzRecords(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::string field = input.text(24);
    std::uint32_t ours = 0;
    std::uint32_t theirs = 0;
    const bool read = RecordFilter::readNumber(field, false, ours);
    FUZZ_CHECK(read == strtoulReads(field, theirs));
    FUZZ_CHECK(!read || ours == theirs);

    // Field tests from the bytes, then records: fields joined with ':' give
    // back the line after its leading white space.
    RecordFilter filter;
    for (std::size_t i = 0, tests = input.below(4); i < tests; ++i)
        filter.add("f" + std::to_string(1 + input.below(8)) + "." +
                       std::string(RecordFilter::kTests[input.below(6)]),
                   input.flag() ? std::to_string(input.below(70000)) : input.text(6));
    std::vector<std::string_view> fields;
    SystemPlugin::forEachLine(input.rest(), [&](std::string_view line) {
        if (!RecordFilter::splitRecord(line, fields))
            return;
        std::string joined(fields[0]);
        for (std::size_t i = 1; i < fields.size(); ++i)
            joined.append(":").append(fields[i]);
        FUZZ_CHECK(joined == line.substr(line.size() - joined.size()));
        filter.accepts(fields);
    });
    return 0;
}

} // namespace fuzzing
