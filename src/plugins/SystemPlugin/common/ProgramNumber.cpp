// The integer readings of shadow, the kernel and libpwquality.
#include "SystemPlugin/common/ProgramNumber.h"

#include "SystemPlugin/common/ConfigLines.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace SystemPlugin {
namespace {

// strtol over the whole text (an empty text is refused), within an int.
bool wholeLong(std::string_view text, int base, std::string& number) {
    const std::string copy(text);
    if (copy.empty() || copy.size() != std::char_traits<char>::length(copy.c_str()))
        return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(copy.c_str(), &end, base);
    if (errno == ERANGE || *end != '\0' || end == copy.c_str() || value < INT_MIN ||
        value > INT_MAX)
        return false;
    number = std::to_string(value);
    return true;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// The kernel's isspace: the C blanks and the Latin-1 no-break space.
bool isKernelSpace(char c) {
    return isSpace(c) || static_cast<unsigned char>(c) == 0xa0;
}

} // namespace

bool ProgramNumber::decimal(std::string_view text, std::string& number) {
    std::string_view rest = text;
    while (!rest.empty() && isBlank(rest.front()))
        rest.remove_prefix(1);
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-'))
        rest.remove_prefix(1);
    if (rest.empty())
        return false;
    for (char c : rest)
        if (c < '0' || c > '9')
            return false;
    number.assign(text);
    return true;
}

bool ProgramNumber::shadow(std::string_view text, std::string& number) {
    return wholeLong(text, 0, number);
}

bool ProgramNumber::useradd(std::string_view text, std::string& number) {
    if (!wholeLong(text, 0, number))
        return false;
    return number.front() != '-' || number == "-1";
}

bool ProgramNumber::pwquality(std::string_view text, std::string& number) {
    return wholeLong(text, 10, number);
}

bool ProgramNumber::kernel(std::string_view text, std::string& number) {
    while (!text.empty() && isKernelSpace(text.front()))
        text.remove_prefix(1);
    // The kernel reads at most 21 characters of the number (sign included).
    constexpr std::size_t kMaxLength = 21;
    const std::string_view start = text;
    const bool negative = !text.empty() && text.front() == '-' && text.size() > 1;
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return false;
    unsigned base = 10;
    if (text.front() == '0') {
        base = 8;
        if (text.size() > 2 && (text[1] == 'x' || text[1] == 'X') && digitValue(text[2]) < 16) {
            base = 16;
            text.remove_prefix(2);
        }
    }
    unsigned long long value = 0;
    while (!text.empty() && static_cast<unsigned>(digitValue(text.front())) < base) {
        const unsigned digit = static_cast<unsigned>(digitValue(text.front()));
        if (value > (ULLONG_MAX - digit) / base)
            return false;
        value = value * base + digit;
        text.remove_prefix(1);
    }
    if (start.size() - text.size() >= kMaxLength)
        return false;
    if (!text.empty() && text.front() != ' ' && text.front() != '\t' && text.front() != '\n')
        return false;
    if (value > (negative ? 1ULL + INT_MAX : static_cast<unsigned long long>(INT_MAX)))
        return false;
    number = negative ? "-" + std::to_string(value) : std::to_string(value);
    if (number == "-0")
        number = "0";
    return true;
}

} // namespace SystemPlugin
