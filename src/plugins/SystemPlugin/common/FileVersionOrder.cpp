// The order `ls -v` sorts names in.
#include "SystemPlugin/common/FileVersionOrder.h"

#include "PluginKit/DebianVersion.h"

namespace SystemPlugin {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
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
    return PluginKit::DebianVersion::compareParts(a, b, PluginKit::DebianVersion::Bytes::Unsigned);
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
