// The plug-in object: registration of the expression names, the factory, the
// plug-in setting and the table of mounted file systems.
#pragma once

#include "PluginSDK/Plugin.h"
#include "base/mountlist.h"

namespace PluginSDK {

class CorePlugin : public Plugin {
public:
    CorePlugin();
    ~CorePlugin() override;

    void setProperty(const wchar_t* name, const wchar_t* value) override;
    PluginVersion getVersion() const override;
    const wchar_t* getName() const override;
    void* getUnknownSoftware() override;
    TErrorCode initializePlugin() override;
    TErrorCode cleanupPlugin() override;
    TErrorCode createExpression(const wchar_t* name, Expression** result) override;
    TErrorCode destroyExpression(Expression* expression) override;

    // The mount probes read this table; it lives as long as the plug-in.
    mountlist* getMountList() { return &m_MountList; }

private:
    void storeOrSkipSetting(const wchar_t* name, const wchar_t* value);

    mountlist m_MountList;
};

} // namespace PluginSDK
