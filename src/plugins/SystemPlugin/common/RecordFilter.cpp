// Record splitting, glibc's number reading and the field tests.
#include "SystemPlugin/common/RecordFilter.h"

#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ConfigLines.h"
#include "utils/Wildcard.h"

namespace SystemPlugin {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits only, at least one, with the value; false past 2^64 - 1.
bool readDigits(std::string_view text, std::uint64_t& value) {
    if (text.empty())
        return false;
    value = 0;
    for (char c : text) {
        if (!isDigit(c))
            return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

} // namespace

bool RecordFilter::splitRecord(std::string_view line, std::vector<std::string_view>& fields) {
    while (!line.empty() && isSpace(line.front()))
        line.remove_prefix(1);
    if (line.empty() || line.front() == '#')
        return false;
    fields.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = line.find(':', start);
        fields.push_back(line.substr(start, colon - start));
        if (colon == std::string_view::npos)
            return true;
        start = colon + 1;
    }
}

bool RecordFilter::readNumber(std::string_view field, bool compatRecord, std::uint32_t& number) {
    if (field.empty() && compatRecord) {
        number = 0;
        return true;
    }
    while (!field.empty() && isSpace(field.front()))
        field.remove_prefix(1);
    bool negative = false;
    if (!field.empty() && (field.front() == '+' || field.front() == '-')) {
        negative = field.front() == '-';
        field.remove_prefix(1);
    }
    std::uint64_t value = 0;
    // strtoul saturates past its range, which fits no uid either.
    if (!readDigits(field, value))
        return false;
    if (negative)
        value = 0 - value;
    if (value > UINT32_MAX)
        return false;
    number = static_cast<std::uint32_t>(value);
    return true;
}

bool RecordFilter::parseFieldNumber(std::string_view text, std::size_t& number) {
    std::uint64_t value = 0;
    if (text.empty() || text.front() == '0' || text.size() > 3 || !readDigits(text, value) ||
        value > kMaxField)
        return false;
    number = static_cast<std::size_t>(value);
    return true;
}

TErrorCode RecordFilter::add(std::string_view name, std::string_view value) {
    const std::size_t dot = name.find('.');
    Test test{};
    if (name.size() < 2 || name.front() != 'f' || dot == std::string_view::npos ||
        !parseFieldNumber(name.substr(1, dot - 1), test.field))
        return RC_PROPERTY_VALUE_INVALID;
    const std::string_view kind = name.substr(dot + 1);
    std::size_t index = 0;
    while (index < std::size(kTests) && kTests[index] != kind)
        ++index;
    if (index == std::size(kTests))
        return RC_PROPERTY_VALUE_INVALID;
    test.kind = static_cast<Kind>(index);
    test.operand.assign(value);
    if ((test.kind == Kind::AtLeast || test.kind == Kind::Below) && !readDigits(value, test.bound))
        return RC_PROPERTY_VALUE_INVALID;
    m_Tests.push_back(std::move(test));
    return 0;
}

bool RecordFilter::accepts(const std::vector<std::string_view>& fields) const {
    const bool compat = !fields.empty() && !fields[0].empty() &&
                        (fields[0].front() == '+' || fields[0].front() == '-');
    for (const Test& test : m_Tests) {
        const std::string_view field =
            test.field <= fields.size() ? fields[test.field - 1] : std::string_view();
        std::uint32_t number = 0;
        switch (test.kind) {
        case Kind::Equals:
        case Kind::NotEquals:
            if ((field == test.operand) != (test.kind == Kind::Equals))
                return false;
            break;
        case Kind::Matches:
        case Kind::NotMatches: {
            std::string pattern = test.operand;
            std::string text(field);
            if (utils::matchWildcard(pattern, text) != (test.kind == Kind::Matches))
                return false;
            break;
        }
        case Kind::AtLeast:
        case Kind::Below:
            if (!readNumber(field, compat, number) ||
                (test.kind == Kind::AtLeast ? number < test.bound : number >= test.bound))
                return false;
            break;
        }
    }
    return true;
}

} // namespace SystemPlugin
