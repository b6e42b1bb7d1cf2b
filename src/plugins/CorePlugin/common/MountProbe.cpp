// The evaluation shared by the mount probes.
#include "CorePlugin/common/MountProbe.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/AbsolutePath.h"
#include "base/ScanRoot.h"
#include "base/Utf8.h"
#include "base/mountlist.h"

namespace CorePlugin {

TErrorCode MountProbe::validateProperties() {
    return checkAbsolutePath(*this);
}

TErrorCode MountProbe::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;
    // A scanned image has no mount table of its own, and the host's would
    // answer for the host.
    if (!m_MountList || base::ScanRoot::active())
        return RC_MOUNT_TABLE_UNAVAILABLE;
    // One lookup in one whole table: a table read again meanwhile, by another
    // thread or by initializePlugin, cannot mix into the answer.
    const wchar_t* path = getProperty(kAbsolutePath);
    base::MountAnswer mount;
    const int found = m_MountList->find(path, mount);
    if (found < 0)
        return RC_MOUNT_TABLE_UNAVAILABLE;
    String answer = lookup(found == 0 ? &mount : nullptr, path);
    // The wide text is handed over as it is, so that no character is lost on
    // the way through a narrow form.
    result = answer.c_wstr();
    return RC_SUCCESS;
}

String MountProbe::widen(const std::string& text) {
    std::wstring wide;
    base::decodeUtf8(text.data(), text.size(), wide);
    return String(wide.c_str());
}

} // namespace CorePlugin
