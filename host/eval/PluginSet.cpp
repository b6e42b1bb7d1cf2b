// Loading several plug-ins and finding the one that registered a name.
#include "eval/PluginSet.h"

#include "eval/MessageText.h"
#include "eval/TextConversion.h"

namespace corehost {

std::string PluginSet::pluginName(PluginModule& module) {
    const wchar_t* name = module.plugin().getName();
    return toUtf8(name ? name : L"");
}

std::shared_ptr<PluginSet> PluginSet::load(const std::vector<std::string>& paths,
                                           std::string& error) {
    auto set = std::make_shared<PluginSet>();
    for (const std::string& path : paths) {
        std::shared_ptr<PluginModule> module = PluginModule::load(path, error);
        if (!module)
            return nullptr;
        for (const std::wstring& name : module->names()) {
            const std::wstring* registered = nullptr;
            if (PluginModule* first = set->owner(name, &registered)) {
                error = "the name " + quote(toUtf8(name)) +
                        " is registered by two plug-ins: " + pluginName(*first) + " (" +
                        first->path() + ") and " + pluginName(*module) + " (" + path + ")";
                return nullptr;
            }
        }
        set->m_Modules.push_back(std::move(module));
    }
    return set;
}

std::shared_ptr<PluginSet> PluginSet::of(std::shared_ptr<PluginModule> module) {
    auto set = std::make_shared<PluginSet>();
    set->m_Modules.push_back(std::move(module));
    return set;
}

PluginModule* PluginSet::owner(const std::wstring& name, const std::wstring** registered) const {
    for (const std::shared_ptr<PluginModule>& module : m_Modules)
        if (const std::wstring* found = module->findName(name)) {
            *registered = found;
            return module.get();
        }
    return nullptr;
}

std::vector<std::wstring> PluginSet::names() const {
    std::vector<std::wstring> all;
    for (const std::shared_ptr<PluginModule>& module : m_Modules)
        all.insert(all.end(), module->names().begin(), module->names().end());
    return all;
}

} // namespace corehost
