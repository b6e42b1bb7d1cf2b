// systemd unit names.
#include "SystemPlugin/common/UnitName.h"

#include <cstring>

namespace SystemPlugin {

namespace {

constexpr std::string_view kTypes[] = {"service",   "mount", "swap", "socket", "target", "device",
                                       "automount", "timer", "path", "slice",  "scope"};

bool knownType(std::string_view suffix) {
    for (std::string_view type : kTypes)
        if (type == suffix)
            return true;
    return false;
}

} // namespace

bool UnitName::isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr(":-_.\\", c) != nullptr);
}

bool UnitName::isValid(std::string_view name, unsigned forms) {
    if (name.empty() || name.size() >= kMaxLength)
        return false;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || !knownType(name.substr(dot + 1)))
        return false;
    std::size_t at = std::string_view::npos;
    for (std::size_t i = 0; i < dot; ++i) {
        if (name[i] == '@' && at == std::string_view::npos)
            at = i;
        if (name[i] != '@' && !isNameCharacter(name[i]))
            return false;
    }
    if (at == 0)
        return false;
    if (at == std::string_view::npos)
        return (forms & Plain) != 0;
    return (forms & (at + 1 < dot ? Instance : Template)) != 0;
}

std::string UnitName::withSuffix(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && knownType(name.substr(dot + 1)))
        return std::string(name);
    return std::string(name) + ".service";
}

std::string_view UnitName::type(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

bool UnitName::typeMayAlias(std::string_view name) {
    const std::string_view t = type(name);
    return t == "service" || t == "socket" || t == "target" || t == "device" || t == "timer" ||
           t == "path";
}

bool UnitName::typeMayTemplate(std::string_view name) {
    const std::string_view t = type(name);
    return t == "service" || t == "socket" || t == "target" || t == "timer" || t == "path";
}

std::string_view UnitName::withoutSuffix(std::string_view name) {
    return name.substr(0, name.rfind('.'));
}

std::string UnitName::templateOf(std::string_view name) {
    if (!isValid(name, Instance))
        return std::string(name);
    const std::size_t at = name.find('@');
    return std::string(name.substr(0, at + 1)) + std::string(name.substr(name.rfind('.')));
}

std::string UnitName::instanceOf(std::string_view name) {
    if (!isValid(name, Instance))
        return std::string();
    const std::size_t at = name.find('@');
    return std::string(name.substr(at + 1, name.rfind('.') - at - 1));
}

std::string UnitName::withInstance(std::string_view name, std::string_view instance) {
    const std::size_t at = name.find('@');
    return std::string(name.substr(0, at + 1)) + std::string(instance) +
           std::string(name.substr(name.rfind('.')));
}

UnitName::Form UnitName::formOf(std::string_view name) {
    return isValid(name, Instance) ? Instance : isValid(name, Template) ? Template : Plain;
}

} // namespace SystemPlugin
