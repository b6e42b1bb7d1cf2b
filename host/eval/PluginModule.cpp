// Loading, initialising and releasing a plug-in module.
#include "eval/PluginModule.h"

#include <dlfcn.h>

namespace corehost {

PluginModule::Handle::~Handle() {
    if (library)
        dlclose(library);
}

std::shared_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
    std::shared_ptr<PluginModule> module(new PluginModule());
    module->m_Path = path;
    dlerror();
    module->m_Handle.library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module->m_Handle.library) {
        const char* reason = dlerror();
        error = "cannot load the plug-in " + path + ": " + (reason ? reason : "unknown error");
        return nullptr;
    }
    auto create = reinterpret_cast<PluginSDK::CreatePluginFunction>(
        dlsym(module->m_Handle.library, PluginSDK::kCreatePluginSymbol));
    module->m_Destroy = reinterpret_cast<PluginSDK::DestroyPluginFunction>(
        dlsym(module->m_Handle.library, PluginSDK::kDestroyPluginSymbol));
    if (!create || !module->m_Destroy) {
        error = "not a plug-in: " + path + " does not export " + PluginSDK::kCreatePluginSymbol +
                " and " + PluginSDK::kDestroyPluginSymbol;
        return nullptr;
    }
    module->m_Plugin = create();
    if (!module->m_Plugin) {
        error = "the plug-in " + path + " created no plug-in object";
        return nullptr;
    }
    module->m_InitializeCode = module->m_Plugin->initializePlugin();
    const std::vector<std::wstring>& names = module->names();
    for (std::size_t i = 0; i < names.size(); ++i)
        module->m_NameIndex.emplace(names[i], i);
    return module;
}

PluginModule::~PluginModule() {
    if (m_Plugin) {
        m_Plugin->cleanupPlugin();
        m_Destroy(m_Plugin);
    }
}

const std::wstring* PluginModule::findName(const std::wstring& name) const {
    auto it = m_NameIndex.find(name);
    return it == m_NameIndex.end() ? nullptr : &names()[it->second];
}

} // namespace corehost
