// Sysctl: the name, its file under /proc/sys, the value.
#include "SystemPlugin/common/SysctlParameter.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PropertyChecks.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/FileCodes.h"
#include "SystemPlugin/common/SysctlName.h"

namespace SystemPlugin {

TErrorCode SysctlParameter::check(const PluginSDK::Expression& node) {
    const TErrorCode code = PluginKit::checkRequiredProperties(
        node, {{L"name", RC_PROPERTY_MISSING, "property \"name\" is missing", __LINE__}},
        PluginKit::CheckMode::StopAtFirst, m_Trace);
    if (code != RC_SUCCESS)
        return code;
    std::string relative;
    if (!sysctlPath(utf8Of(node.getProperty(L"name")), relative))
        return RC_PROPERTY_VALUE_INVALID;
    m_Path = kRoot + relative;
    return RC_SUCCESS;
}

TErrorCode SysctlParameter::read(std::string& value) const {
    std::string raw;
    const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(m_Path, raw);
    switch (outcome.error) {
    case PluginKit::FileError::None:
        value = sysctlValue(raw);
        return RC_SUCCESS;
    case PluginKit::FileError::Missing:
    case PluginKit::FileError::WrongKind:
        return RC_NO_SUCH_PARAMETER;
    default:
        return codeOf(outcome, m_Path, m_Trace);
    }
}

} // namespace SystemPlugin
