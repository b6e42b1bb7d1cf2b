// Fuzz target: passwd-style records. Numeric fields read exactly as glibc's
// strtoul reads a uid; any bytes split into records whose fields, joined
// with ':', give back the line after its leading white space; field tests made
// from the bytes never fail to parse what they accept.
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

    RecordFilter filter;
    const std::size_t tests = input.below(4);
    for (std::size_t i = 0; i < tests; ++i) {
        const std::string name = "f" + std::to_string(1 + input.below(8)) + "." +
                                 std::string(RecordFilter::kTests[input.below(6)]);
        const std::string value = input.flag() ? std::to_string(input.below(70000)) : input.text(6);
        filter.add(name, value);
    }
    const std::string text = input.rest();
    std::vector<std::string_view> fields;
    SystemPlugin::forEachLine(text, [&](std::string_view line) {
        if (!RecordFilter::splitRecord(line, fields))
            return;
        std::string joined;
        for (std::size_t i = 0; i < fields.size(); ++i)
            joined += (i == 0 ? "" : ":") + std::string(fields[i]);
        while (!line.empty() && SystemPlugin::isSpace(line.front()))
            line.remove_prefix(1);
        FUZZ_CHECK(joined == line);
        filter.accepts(fields);
    });
    return 0;
}

} // namespace fuzzing
