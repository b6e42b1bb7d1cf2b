// Kernel parameter names to /proc/sys paths, and their values.
#include "SystemPlugin/common/SysctlName.h"

namespace SystemPlugin {

namespace {

// Dots and slashes swapped when the first separator is a dot.
void swapSeparators(std::string& name) {
    const std::size_t first = name.find_first_of("./");
    if (first == std::string::npos || name[first] != '.')
        return;
    for (std::size_t i = first; i < name.size(); ++i)
        if (name[i] == '.' || name[i] == '/')
            name[i] = name[i] == '.' ? '/' : '.';
}

} // namespace

std::string sysctlNormalise(std::string_view name) {
    std::string swapped(name);
    swapSeparators(swapped);
    std::string out;
    out.reserve(swapped.size());
    for (char c : swapped)
        if (c != '/' || out.empty() || out.back() != '/')
            out += c;
    return out;
}

bool sysctlPath(std::string_view name, std::string& path) {
    path.assign(name);
    swapSeparators(path);
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find('/', start);
        const std::string_view component = std::string_view(path).substr(
            start, slash == std::string::npos ? slash : slash - start);
        if (component.empty() || component.find_first_of("*?[") != std::string_view::npos ||
            component.find("..") != std::string_view::npos)
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

std::string sysctlValue(std::string_view raw) {
    std::string value;
    value.reserve(raw.size());
    bool pending = false;
    for (char c : raw) {
        if (c == ' ' || c == '\t' || c == '\n') {
            pending = !value.empty();
            continue;
        }
        if (pending)
            value += ' ';
        pending = false;
        value += c;
    }
    return value;
}

} // namespace SystemPlugin
