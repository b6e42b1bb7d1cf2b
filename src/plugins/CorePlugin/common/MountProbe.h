// The evaluation shared by the mount probes; each supplies only its lookup.
#pragma once

#include "PluginSDK/ScalarOperand.h"
#include "base/String.h"

#include <string>

class mountlist;
namespace base {
struct MountAnswer;
}

namespace CorePlugin {

class MountProbe : public PluginSDK::ScalarOperand {
public:
    // `mounts` is the plug-in's table, which outlives the probe; not owned.
    explicit MountProbe(mountlist* mounts) : m_MountList(mounts) {}

    // 0 when "absolutePath" is attached, else -11025.
    TErrorCode validateProperties();
    // The answer for "absolutePath"; -11025 without it (tested first), -400
    // when the table is missing or could not be read whole. The result stays
    // cleared on failure. The path is looked up by its text: nothing is
    // resolved or examined.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}

protected:
    // The answer for `path` (non-null) from the mount that holds it, null when
    // no mount does.
    virtual String lookup(const base::MountAnswer* mount, const wchar_t* path) const = 0;

    // UTF-8 text of the table as a String.
    static String widen(const std::string& text);

private:
    mountlist* m_MountList;
};

} // namespace CorePlugin
