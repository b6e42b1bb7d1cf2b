// The two entry points the host looks up by name.
#include "SystemPlugin/SystemPlugin.h"

// Null when the plug-in could not be made (memory exhausted): nothing thrown
// crosses into the host.
extern "C" __attribute__((visibility("default"))) PluginSDK::Plugin* createPlugin() {
    try {
        return new PluginSDK::SystemPlugin();
    } catch (...) {
        return nullptr;
    }
}

extern "C" __attribute__((visibility("default"))) void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
