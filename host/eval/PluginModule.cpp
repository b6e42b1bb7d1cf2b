// Loading, initialising and releasing a plug-in module.
#include "eval/PluginModule.h"

#include "eval/PluginCall.h"

#include <dlfcn.h>

namespace corehost {

namespace {

// A cheap hash of the length and three characters: the registered names
// differ there, and the table is only a few dozen slots.
std::size_t nameHash(const std::wstring& name) {
    std::uint64_t h = name.size();
    if (!name.empty()) {
        h = h * 31 + static_cast<std::uint32_t>(name.front());
        h = h * 31 + static_cast<std::uint32_t>(name[name.size() / 2]);
        h = h * 31 + static_cast<std::uint32_t>(name.back());
    }
    return static_cast<std::size_t>((h * 0x9E3779B97F4A7C15ull) >> 40);
}

} // namespace

PluginModule::Handle::~Handle() {
    if (library)
        dlclose(library);
}

std::shared_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
    std::shared_ptr<PluginModule> module(new PluginModule());
    module->m_Path = path;
    // The value is always a path: without a slash dlopen would search the
    // library path (LD_LIBRARY_PATH, the cache) instead of the current directory.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    dlerror();
    module->m_Handle.library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
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
    PluginCall call(*module);
    module->m_InitializeCode = module->m_Plugin->initializePlugin();
    const std::vector<std::wstring>& names = module->names();
    std::size_t slots = 8;
    while (slots < 2 * names.size())
        slots *= 2;
    module->m_NameSlots.assign(slots, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (module->findName(names[i]))
            continue; // a repeated name: the first one is found
        std::size_t slot = nameHash(names[i]) & (slots - 1);
        while (module->m_NameSlots[slot] != 0)
            slot = (slot + 1) & (slots - 1);
        module->m_NameSlots[slot] = static_cast<std::uint32_t>(i + 1);
    }
    return module;
}

PluginModule::~PluginModule() {
    if (m_Plugin) {
        PluginCall call(*this);
        m_Plugin->cleanupPlugin();
        m_Destroy(m_Plugin);
    }
}

const std::wstring* PluginModule::findName(const std::wstring& name) const {
    if (m_NameSlots.empty())
        return nullptr;
    const std::size_t mask = m_NameSlots.size() - 1;
    for (std::size_t slot = nameHash(name) & mask; m_NameSlots[slot] != 0;
         slot = (slot + 1) & mask) {
        const std::wstring& candidate = names()[m_NameSlots[slot] - 1];
        if (candidate == name)
            return &candidate;
    }
    return nullptr;
}

} // namespace corehost
