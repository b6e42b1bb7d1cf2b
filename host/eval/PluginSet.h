// The plug-in modules a host has loaded, in load order, and which of them
// registered each expression name: a name belongs to one plug-in only.
#pragma once

#include "eval/PluginModule.h"

#include <memory>
#include <string>
#include <vector>

namespace corehost {

class PluginSet {
public:
    // Loads every module of `paths` in order. Null with a message in `error`
    // when one cannot be loaded, or when two of them register the same name
    // (the message names the name and both plug-ins with their paths).
    static std::shared_ptr<PluginSet> load(const std::vector<std::string>& paths,
                                           std::string& error);

    // The set of the single module.
    static std::shared_ptr<PluginSet> of(std::shared_ptr<PluginModule> module);

    const std::vector<std::shared_ptr<PluginModule>>& modules() const { return m_Modules; }

    // The module that registered `name`, or null; `registered` is set to the
    // registered name, valid while the module lives.
    PluginModule* owner(const std::wstring& name, const std::wstring** registered) const;

    // Every registered name, module after module, each in registration order.
    std::vector<std::wstring> names() const;

    // What the plug-in of `module` calls itself (UTF-8).
    static std::string pluginName(PluginModule& module);

private:
    std::vector<std::shared_ptr<PluginModule>> m_Modules;
};

} // namespace corehost
