// The plug-in object: registration of the expression names, the factory and
// the plug-in properties, which live in the instance's PluginContext.
#pragma once

#include "SystemPlugin/PluginContext.h"

#include "PluginSDK/Plugin.h"

namespace PluginSDK {

class SystemPlugin : public Plugin {
public:
    SystemPlugin();
    ~SystemPlugin() override;

    // "dpkgAdminDir" and "sshConfigDir"; any other name is skipped with a warning.
    void setProperty(const wchar_t* name, const wchar_t* value) override;
    PluginVersion getVersion() const override;
    const wchar_t* getName() const override;
    void* getUnknownSoftware() override;
    TErrorCode initializePlugin() override;
    TErrorCode cleanupPlugin() override;
    TErrorCode createExpression(const wchar_t* name, Expression** result) override;
    TErrorCode destroyExpression(Expression* expression) override;

    ::SystemPlugin::PluginContext& context() { return m_Context; }

private:
    void storeOrSkipSetting(const wchar_t* name, const wchar_t* value);

    ::SystemPlugin::PluginContext m_Context;
};

} // namespace PluginSDK
