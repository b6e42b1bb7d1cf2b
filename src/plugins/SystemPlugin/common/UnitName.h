// systemd unit names: their form (plain "a.service", template "a@.service",
// instance "a@b.service"), their type suffix and what each type allows.
#pragma once

#include <string>
#include <string_view>

namespace SystemPlugin {

class UnitName {
public:
    // The longest valid name is one byte shorter.
    static constexpr std::size_t kMaxLength = 256;

    enum Form : unsigned { Plain = 1, Instance = 2, Template = 4, AnyForm = 7 };

    // Whether `name` is a unit name of one of `forms`: a known type suffix,
    // a prefix of letters, digits and ":-_.\" (and one '@' before the
    // instance) that neither is empty nor starts with '@'.
    static bool isValid(std::string_view name, unsigned forms = AnyForm);
    // Letters, digits and ":-_.\\": what a name holds besides '@' and its suffix.
    static bool isNameCharacter(char c);
    // The name as `systemctl` completes a name given without a type suffix:
    // `name` + ".service" unless its last dot starts a known type.
    static std::string withSuffix(std::string_view name);

    // The type suffix after the last dot ("service"); empty when there is none.
    static std::string_view type(std::string_view name);
    // Whether units of the type of `name` may have Alias= names and alias links,
    // and may be templates.
    static bool typeMayAlias(std::string_view name);
    static bool typeMayTemplate(std::string_view name);

    // "a@.service" for "a@b.service"; `name` itself for any other form.
    static std::string templateOf(std::string_view name);
    // The instance of "a@b.service" ("b"); empty for other forms.
    static std::string instanceOf(std::string_view name);
    // The name without its type suffix ("a@b").
    static std::string_view withoutSuffix(std::string_view name);
    // "a@" + instance + ".service" for a template or instance `name`.
    static std::string withInstance(std::string_view name, std::string_view instance);
    // The form of a valid name.
    static Form formOf(std::string_view name);
};

} // namespace SystemPlugin
