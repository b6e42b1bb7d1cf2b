// systemd's line splitting.
#include "SystemPlugin/common/SystemdLines.h"

namespace SystemPlugin {
namespace {

enum LineEnd : unsigned { kNone = 0, kZero = 1, kTen = 2, kThirteen = 4 };

unsigned lineEnd(char c) {
    return c == '\n' ? kTen : c == '\r' ? kThirteen : c == '\0' ? kZero : kNone;
}

} // namespace

bool SystemdLines::forEach(std::string_view text, const Visitor& visit) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        while (pos < text.size() && lineEnd(text[pos]) == kNone)
            ++pos;
        if (pos - start >= kLongLineMax)
            return false;
        visit(text.substr(start, pos - start));
        unsigned seen = kNone;
        for (; pos < text.size() && lineEnd(text[pos]) != kNone; ++pos) {
            if ((seen & kZero) != 0 || (seen & lineEnd(text[pos])) != 0)
                break;
            seen |= lineEnd(text[pos]);
        }
    }
    return true;
}

std::string_view SystemdLines::strip(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\r";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

} // namespace SystemPlugin
