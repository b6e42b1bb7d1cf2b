// Kernel parameter names to /proc/sys paths, and their values.
#include "SystemPlugin/common/SysctlName.h"

#include <algorithm>

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

// systemd's path_simplify: runs of '/' as one, "." components and a final
// '/' dropped; a component longer than NAME_MAX leaves the rest as written.
std::string simplifyPath(std::string_view path) {
    if (path.empty())
        return {};
    constexpr std::size_t kNameMax = 255;
    std::string out = path.front() == '/' ? "/" : "";
    auto skipSlashOrDot = [&](std::size_t at) {
        while (at < path.size()) {
            if (path[at] == '/')
                ++at;
            else if (path.substr(at, 2) == "./")
                at += 2;
            else
                break;
        }
        return at;
    };
    bool slash = false;
    std::size_t at = out.size();
    for (;;) {
        const std::size_t first = skipSlashOrDot(at);
        if (first >= path.size() || path.substr(first) == ".")
            break;
        const std::size_t end = std::min(path.find('/', first), path.size());
        if (slash)
            out += '/';
        if (end - first > kNameMax) {
            out.append(path.substr(at));
            return out;
        }
        out.append(path.substr(first, end - first));
        slash = true;
        at = skipSlashOrDot(end);
        if (path.substr(at) == ".")
            at = path.size();
    }
    if (out.empty())
        out = ".";
    return out;
}

} // namespace

std::string sysctlNormalise(std::string_view name) {
    std::string swapped(name);
    swapSeparators(swapped);
    std::string out = simplifyPath(swapped);
    if (out.size() > 1 && out.front() == '/')
        out.erase(0, 1);
    return out;
}

std::string sysctlTarget(std::string_view key) {
    const std::string padded = "/" + std::string(key) + "/";
    return padded.find("/../") == std::string::npos ? std::string(key) : std::string();
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
