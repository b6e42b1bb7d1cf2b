// Loading several plug-ins with their descriptions, finding the one that
// registered a name, and routing settings.
#include "eval/PluginSet.h"

#include "eval/MessageText.h"
#include "eval/NameSuggestion.h"
#include "eval/PluginCall.h"
#include "eval/TextConversion.h"

namespace corehost {

std::shared_ptr<PluginSet> PluginSet::load(const std::vector<std::string>& paths,
                                           std::string& error) {
    auto set = std::make_shared<PluginSet>();
    for (const std::string& path : paths) {
        std::shared_ptr<PluginModule> module = PluginModule::load(path, error);
        if (!module || !module->readDescription(error))
            return nullptr;
        for (const std::wstring& name : module->names()) {
            const std::wstring* registered = nullptr;
            if (PluginModule* first = set->owner(name, &registered)) {
                error = "the name " + quote(toUtf8(name)) +
                        " is registered by two plug-ins: " + first->name() + " (" + first->path() +
                        ") and " + module->name() + " (" + path + ")";
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

const ExpressionDescription* PluginSet::describe(const std::string& name) const {
    // A name is registered by one plug-in only: the first description of it is its own.
    for (const std::shared_ptr<PluginModule>& module : m_Modules)
        if (const PluginDescription* description = module->description())
            if (const ExpressionDescription* expression = description->findExpression(name))
                return expression;
    return nullptr;
}

std::vector<const PluginModule*> PluginSet::undescribed() const {
    std::vector<const PluginModule*> modules;
    for (const std::shared_ptr<PluginModule>& module : m_Modules)
        if (!module->description())
            modules.push_back(module.get());
    return modules;
}

bool PluginSet::applySettings(const std::vector<Setting>& settings, std::string& error) {
    for (const Setting& setting : settings) {
        const auto names = [&setting](const PluginModule& module) {
            return module.description() && module.description()->findSetting(setting.name);
        };
        std::vector<PluginModule*> targets;
        for (const std::shared_ptr<PluginModule>& module : m_Modules)
            if (setting.plugin.empty() ? names(*module) : module->name() == setting.plugin)
                targets.push_back(module.get());
        if (!setting.plugin.empty()) {
            const std::string option = "--set " + escapeText(setting.plugin + ":" + setting.name);
            if (targets.empty()) {
                std::vector<std::string> loaded;
                for (const std::shared_ptr<PluginModule>& module : m_Modules)
                    loaded.push_back(module->name());
                error = option + ": no loaded plug-in is called " + quote(setting.plugin) +
                        didYouMean(suggestName(setting.plugin, loaded));
                return false;
            }
            const PluginDescription* description = targets.front()->description();
            if (description && !names(*targets.front())) {
                std::vector<std::string> known;
                for (const SettingDescription& candidate : description->settings)
                    known.push_back(candidate.name);
                error = option + ": " + setting.plugin + " has no setting " + quote(setting.name) +
                        didYouMean(suggestName(setting.name, known));
                return false;
            }
        }
        if (targets.empty())
            for (const std::shared_ptr<PluginModule>& module : m_Modules)
                targets.push_back(module.get());
        const std::wstring name = fromUtf8(setting.name);
        const std::wstring value = fromUtf8(setting.value);
        for (PluginModule* module : targets) {
            PluginCall call(*module);
            module->plugin().setProperty(name.c_str(), value.c_str());
        }
    }
    return true;
}

} // namespace corehost
