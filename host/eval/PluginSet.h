// The plug-in modules a host has loaded, in load order, with their
// descriptions: which plug-in registered each expression name (a name belongs
// to one plug-in only), what each name is, and the routing of settings.
// Everything a host knows of its plug-ins is held here, so that one process
// can hold several sets at once.
#pragma once

#include "eval/PluginDescription.h"
#include "eval/PluginModule.h"

#include <memory>
#include <string>
#include <vector>

namespace corehost {

// A plug-in setting: the plug-in it is for ("" for every plug-in whose
// description names it), its name and value (UTF-8).
struct Setting {
    std::string plugin;
    std::string name;
    std::string value;
};

class PluginSet {
public:
    // Loads every module of `paths` in order, each with its description.
    // Null with a message in `error` when one cannot be loaded, when its
    // description is malformed or does not match it, or when two of them
    // register the same name (the message names the name and both plug-ins
    // with their paths).
    static std::shared_ptr<PluginSet> load(const std::vector<std::string>& paths,
                                           std::string& error);

    // The set of the single module, as it stands.
    static std::shared_ptr<PluginSet> of(std::shared_ptr<PluginModule> module);

    const std::vector<std::shared_ptr<PluginModule>>& modules() const { return m_Modules; }

    // The module that registered `name`, or null; `registered` is set to the
    // registered name, valid while the module lives.
    PluginModule* owner(const std::wstring& name, const std::wstring** registered) const;

    // Every registered name, module after module, each in registration order.
    std::vector<std::wstring> names() const;

    // What the plug-in of `module` calls itself (UTF-8).
    static std::string pluginName(const PluginModule& module) { return module.name(); }

    // The description of the expression registered as `name` (UTF-8), or
    // null for a name no loaded plug-in describes.
    const ExpressionDescription* describe(const std::string& name) const;

    // The modules that ship no description (their trees are checked by name only).
    std::vector<const PluginModule*> undescribed() const;

    // Gives each setting to its plug-ins: PLUGIN:NAME to that plug-in only,
    // NAME to the loaded plug-ins whose description names it, and a name no
    // description names to every plug-in (which skips what it does not
    // know; check reports it). False after a message in `error` for a
    // plug-in that is not loaded, or a name its description does not have.
    bool applySettings(const std::vector<Setting>& settings, std::string& error);

private:
    std::vector<std::shared_ptr<PluginModule>> m_Modules;
};

} // namespace corehost
