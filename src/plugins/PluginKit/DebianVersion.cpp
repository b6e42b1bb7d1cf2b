// dpkg's reading and order of version texts, without copies or allocation.
#include "PluginKit/DebianVersion.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace PluginKit {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The weight of one character: '~' below the end of the text, letters below every other
// character. dpkg reads the byte as a signed char, so bytes above 0x7f weigh less than
// punctuation; gnulib reads it unsigned.
int weight(char c, DebianVersion::Bytes bytes) {
    if (isDigit(c))
        return 0;
    if (isLetter(c))
        return c;
    if (c == '~')
        return -1;
    if (bytes == DebianVersion::Bytes::Unsigned)
        return static_cast<unsigned char>(c) + 256;
    return static_cast<int>(static_cast<signed char>(c)) + 256;
}

// The epoch as strtol reads it before the colon; false when that is not a whole number.
bool parseEpoch(std::string_view text, long& epoch) {
    // strtol needs a terminated text; epochs are short, anything long is refused below anyway.
    std::string digits(text);
    const char* begin = digits.c_str();
    char* end = nullptr;
    errno = 0;
    epoch = std::strtol(begin, &end, 10);
    if (end == begin || static_cast<size_t>(end - begin) != digits.size())
        return false;
    return epoch >= 0 && epoch <= INT_MAX && errno != ERANGE;
}

} // namespace

bool DebianVersion::parse(std::string_view text, DebianVersion& out) {
    out = DebianVersion();
    if (text.empty())
        return true;
    size_t first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    size_t last = first;
    while (last < text.size() && !isBlank(text[last]))
        ++last;
    for (size_t i = last; i < text.size(); ++i) {
        if (!isBlank(text[i]))
            return false;
    }
    std::string_view body = text.substr(first, last - first);
    if (body.empty())
        return false;
    out.m_Absent = false;
    const size_t colon = body.find(':');
    if (colon != std::string_view::npos) {
        if (!parseEpoch(body.substr(0, colon), out.m_Epoch))
            return false;
        body.remove_prefix(colon + 1);
        if (body.empty())
            return false;
    }
    const size_t hyphen = body.rfind('-');
    if (hyphen != std::string_view::npos) {
        out.m_Revision = body.substr(hyphen + 1);
        body = body.substr(0, hyphen);
        if (out.m_Revision.empty())
            return false;
    }
    out.m_Upstream = body;
    return !body.empty();
}

int DebianVersion::compareParts(std::string_view a, std::string_view b, Bytes bytes) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() || j < b.size()) {
        while ((i < a.size() && !isDigit(a[i])) || (j < b.size() && !isDigit(b[j]))) {
            const int wa = i < a.size() ? weight(a[i], bytes) : 0;
            const int wb = j < b.size() ? weight(b[j], bytes) : 0;
            if (wa != wb)
                return wa - wb;
            ++i;
            ++j;
        }
        while (i < a.size() && a[i] == '0')
            ++i;
        while (j < b.size() && b[j] == '0')
            ++j;
        int firstDifference = 0;
        while (i < a.size() && isDigit(a[i]) && j < b.size() && isDigit(b[j])) {
            if (firstDifference == 0)
                firstDifference = a[i] - b[j];
            ++i;
            ++j;
        }
        if (i < a.size() && isDigit(a[i]))
            return 1;
        if (j < b.size() && isDigit(b[j]))
            return -1;
        if (firstDifference != 0)
            return firstDifference;
    }
    return 0;
}

int DebianVersion::compare(const DebianVersion& a, const DebianVersion& b) {
    if (a.m_Absent || b.m_Absent)
        return static_cast<int>(!a.m_Absent) - static_cast<int>(!b.m_Absent);
    if (a.m_Epoch != b.m_Epoch)
        return a.m_Epoch < b.m_Epoch ? -1 : 1;
    const int upstream = compareParts(a.m_Upstream, b.m_Upstream);
    if (upstream != 0)
        return upstream;
    return compareParts(a.m_Revision, b.m_Revision);
}

} // namespace PluginKit
