// The "FileDirectory" expression.
#include "CorePlugin/cross/FileDirectory.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/PropertyChecks.h"
#include "base/String.h"

namespace CorePlugin {

namespace {

constexpr const wchar_t* kFile = L"file";

} // namespace

TErrorCode FileDirectory::validateProperties() {
    return checkRequiredProperties(*this, {{kFile, RC_PATH_PROPERTY_MISSING}},
                                   CheckMode::StopAtFirst);
}

TErrorCode FileDirectory::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;
    result = L"";
    String file(getProperty(kFile));
    if (file.length() == 0)
        return RC_SUCCESS;
    int lastSeparator = file.lastIndexOf(String(L"/"), -1);
    if (lastSeparator >= 1)
        result = file.substring(0, lastSeparator - 1).c_wstr();
    else if (lastSeparator == 0)
        result = file.substring(0, 0).c_wstr();
    return RC_SUCCESS;
}

// What FileDirectory says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::required(L"file", RC_PATH_PROPERTY_MISSING)};

} // namespace

const PluginKit::ExpressionInfo FileDirectory::kInfo =
    PluginKit::operand(L"FileDirectory", PluginKit::ResultText::Any, kPropertyRows,
                       "the directory part of the path, by text alone");

} // namespace CorePlugin
