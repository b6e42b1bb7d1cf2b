// The plug-in object: registration of the expression names, the factory, the
// plug-in setting and the table of mounted file systems.
#pragma once

#include "PluginKit/Description.h"
#include "PluginKit/PluginBase.h"
#include "base/mountlist.h"

namespace PluginSDK {

class CorePlugin : public PluginKit::PluginBase {
public:
    // Its setting and its result codes, as its description gives them.
    static const PluginKit::PluginInfo kInfo;

    CorePlugin();
    ~CorePlugin() override;

    PluginVersion getVersion() const override;
    TErrorCode initializePlugin() override;
    TErrorCode cleanupPlugin() override;

    // The mount probes read this table; it lives as long as the plug-in.
    mountlist* getMountList() { return &m_MountList; }

private:
    void storeOrSkipSetting(const wchar_t* name, const wchar_t* value) override;
    Expression* newExpression(const wchar_t* name) override;

    mountlist m_MountList;
};

} // namespace PluginSDK
