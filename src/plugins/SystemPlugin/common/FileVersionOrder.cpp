// The order `ls -v` sorts names in.
#include "SystemPlugin/common/FileVersionOrder.h"

#include <cctype>
#include <climits>

namespace SystemPlugin {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int order(char c) {
    if (isDigit(c))
        return 0;
    if (isAlpha(c))
        return static_cast<unsigned char>(c);
    if (c == '~')
        return -1;
    return static_cast<unsigned char>(c) + UCHAR_MAX + 1;
}

// The length of `s` without its suffix: the longest run at its end of
// `.` + a letter or `~` + letters, digits and `~`, repeated; never the first
// character.
std::size_t prefixLength(std::string_view s) {
    std::size_t prefix = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        ++i;
        prefix = i;
        while (i + 1 < s.size() && s[i] == '.' && (isAlpha(s[i + 1]) || s[i + 1] == '~'))
            for (i += 2; i < s.size() && (isAlpha(s[i]) || isDigit(s[i]) || s[i] == '~'); ++i) {
            }
    }
    return prefix;
}

// Debian's version comparison of two texts, as filevercmp uses it.
int versionCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        int firstDiff = 0;
        while ((i < a.size() && !isDigit(a[i])) || (j < b.size() && !isDigit(b[j]))) {
            const int ac = i == a.size() ? 0 : order(a[i]);
            const int bc = j == b.size() ? 0 : order(b[j]);
            if (ac != bc)
                return ac - bc;
            ++i;
            ++j;
        }
        while (i < a.size() && a[i] == '0')
            ++i;
        while (j < b.size() && b[j] == '0')
            ++j;
        while (i < a.size() && j < b.size() && isDigit(a[i]) && isDigit(b[j])) {
            if (!firstDiff)
                firstDiff = a[i] - b[j];
            ++i;
            ++j;
        }
        if (i < a.size() && isDigit(a[i]))
            return 1;
        if (j < b.size() && isDigit(b[j]))
            return -1;
        if (firstDiff)
            return firstDiff;
    }
    return 0;
}

int fileVersionCompare(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty())
        return a.empty() ? (b.empty() ? 0 : -1) : 1;
    if (a[0] == '.' || b[0] == '.') {
        if (a[0] != '.')
            return 1;
        if (b[0] != '.')
            return -1;
        for (const std::string_view special : {std::string_view("."), std::string_view("..")}) {
            if (a == special || b == special)
                return a == b ? 0 : (a == special ? -1 : 1);
        }
    }
    const std::size_t aPrefix = prefixLength(a);
    const std::size_t bPrefix = prefixLength(b);
    const int result = versionCompare(a.substr(0, aPrefix), b.substr(0, bPrefix));
    if (result != 0 || (aPrefix == a.size() && bPrefix == b.size()))
        return result;
    return versionCompare(a, b);
}

} // namespace

int FileVersionOrder::compare(std::string_view a, std::string_view b) {
    const int result = fileVersionCompare(a, b);
    return result != 0 ? result : a.compare(b);
}

} // namespace SystemPlugin
