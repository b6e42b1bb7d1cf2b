// The two entry points the host looks up by name.
#include "CorePlugin/CorePlugin.h"

extern "C" __attribute__((visibility("default"))) PluginSDK::Plugin* createPlugin() {
    return new PluginSDK::CorePlugin();
}

extern "C" __attribute__((visibility("default"))) void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
