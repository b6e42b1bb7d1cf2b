// The evaluation shared by the mount probes.
#include "common/MountProbe.h"

#include "ResultCodes.h"
#include "base/mountlist.h"
#include "common/AbsolutePath.h"

namespace CorePlugin {

TErrorCode MountProbe::validateProperties() {
    return checkAbsolutePath(*this);
}

TErrorCode MountProbe::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;
    if (!m_MountList || !m_MountList->isReady())
        return RC_MOUNT_TABLE_UNAVAILABLE;
    String answer = lookup(*m_MountList, getProperty(kAbsolutePath));
    // The wide text is handed over as it is, so that no character is lost on
    // the way through a narrow form.
    result = answer.c_wstr();
    return RC_SUCCESS;
}

} // namespace CorePlugin
