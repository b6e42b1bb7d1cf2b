// Loads the built plug-in module exactly as a host does, through its two
// exported entry points (corehost, which loads it the same way, shows the
// rest; ExportsTest that nothing else is exported).
#include "PluginSDK/Plugin.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

struct Module {
    void* handle = dlopen(COREPLUGIN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ~Module() {
        if (handle)
            dlclose(handle);
    }
};

} // namespace

TEST(ModuleLoad, ExportsTheEntryPointsAndCreatesThePlugin) {
    Module module;
    ASSERT_NE(module.handle, nullptr) << dlerror();
    auto create = reinterpret_cast<PluginSDK::CreatePluginFunction>(
        dlsym(module.handle, PluginSDK::kCreatePluginSymbol));
    auto destroy = reinterpret_cast<PluginSDK::DestroyPluginFunction>(
        dlsym(module.handle, PluginSDK::kDestroyPluginSymbol));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(destroy, nullptr);
    PluginSDK::Plugin* plugin = create();
    ASSERT_NE(plugin, nullptr);
    EXPECT_STREQ(plugin->getName(), L"CorePlugin");
    EXPECT_EQ(plugin->initializePlugin(), 0);
    EXPECT_EQ(plugin->cleanupPlugin(), 0);
    destroy(plugin);
    destroy(nullptr);
}
