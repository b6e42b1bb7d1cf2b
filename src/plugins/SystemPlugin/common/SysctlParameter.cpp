// Sysctl: the name, its file under /proc/sys, the value.
#include "SystemPlugin/common/SysctlParameter.h"

#include "PluginKit/FileReader.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/PropertyText.h"
#include "SystemPlugin/common/SysctlName.h"

namespace SystemPlugin {

TErrorCode SysctlParameter::check(const PluginSDK::Expression& node) {
    m_Checks.require(L"name", __LINE__);
    std::string relative;
    if (!m_Checks.failed() && !sysctlPath(utf8Of(node.getProperty(L"name")), relative))
        m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "Not a kernel parameter name below /proc/sys",
                      __LINE__);
    m_Path = kRoot + relative;
    return m_Checks.code();
}

TErrorCode SysctlParameter::read(std::string& value) {
    std::string raw;
    const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(m_Path, raw);
    if (outcome.error == PluginKit::FileError::Missing ||
        outcome.error == PluginKit::FileError::WrongKind)
        m_Checks.fail(RC_NO_SUCH_PARAMETER, ("No such kernel parameter: " + m_Path).c_str(),
                      __LINE__);
    else if (!outcome.ok())
        m_Checks.fileFailure(outcome, m_Path, __LINE__);
    else
        value = sysctlValue(raw);
    return m_Checks.code();
}

} // namespace SystemPlugin
