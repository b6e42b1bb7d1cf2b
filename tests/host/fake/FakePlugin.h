// A small plug-in for testing hosts: it registers "Value", "Join", "List",
// "Collect" and "Broken" (registered, but the factory refuses it), records
// its lifecycle calls, and writes its call log on standard error when its
// property "log" is "stderr".
#pragma once

#include "PluginSDK/Plugin.h"

namespace fakeplugin {

class FakePlugin : public PluginSDK::Plugin {
public:
    ~FakePlugin() override;
    void setProperty(const wchar_t* name, const wchar_t* value) override;
    PluginSDK::PluginVersion getVersion() const override { return {0, 0, 0, 1}; }
    const wchar_t* getName() const override { return L"FakePlugin"; }
    void* getUnknownSoftware() override { return nullptr; }
    TErrorCode initializePlugin() override;
    TErrorCode cleanupPlugin() override;
    TErrorCode createExpression(const wchar_t* name, PluginSDK::Expression** result) override;
    TErrorCode destroyExpression(PluginSDK::Expression* expression) override;
};

} // namespace fakeplugin
