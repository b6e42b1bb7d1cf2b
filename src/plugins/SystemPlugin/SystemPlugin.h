// The plug-in object: registration of the expression names, the factory and
// the plug-in properties, which live in the instance's PluginContext.
#pragma once

#include "SystemPlugin/PluginContext.h"

#include "PluginKit/Description.h"
#include "PluginKit/PluginBase.h"

namespace PluginSDK {

class SystemPlugin : public PluginKit::PluginBase {
public:
    // Its settings and its result codes, as its description gives them.
    static const PluginKit::PluginInfo kInfo;

    SystemPlugin();
    ~SystemPlugin() override;

    PluginVersion getVersion() const override;
    TErrorCode initializePlugin() override;
    TErrorCode cleanupPlugin() override;

    ::SystemPlugin::PluginContext& context() { return m_Context; }

private:
    // "dpkgAdminDir" and "sshConfigDir"; any other name is skipped with a warning.
    void storeOrSkipSetting(const wchar_t* name, const wchar_t* value) override;
    Expression* newExpression(const wchar_t* name) override;

    ::SystemPlugin::PluginContext m_Context;
};

} // namespace PluginSDK
