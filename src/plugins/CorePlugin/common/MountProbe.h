// The evaluation shared by the mount probes; each supplies only its lookup.
#pragma once

#include "PluginSDK/ScalarOperand.h"
#include "base/String.h"

class mountlist;

namespace CorePlugin {

class MountProbe : public PluginSDK::ScalarOperand {
public:
    // `mounts` is the plug-in's table, which outlives the probe; not owned.
    explicit MountProbe(mountlist* mounts) : m_MountList(mounts) {}

    // 0 when "absolutePath" is attached, else -11025.
    TErrorCode validateProperties();
    // The lookup's answer for "absolutePath"; -11025 without it (tested first),
    // -400 when the table is missing or not ready. The result stays cleared on
    // failure. The path is looked up by its text: nothing is resolved or examined.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}

protected:
    // The answer for `path` (non-null) from a ready table.
    virtual String lookup(const mountlist& mounts, const wchar_t* path) const = 0;

private:
    mountlist* m_MountList;
};

} // namespace CorePlugin
