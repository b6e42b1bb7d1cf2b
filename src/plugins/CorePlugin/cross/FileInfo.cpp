// The "FileInfo" expression.
#include "cross/FileInfo.h"

#include "ResultCodes.h"
#include "common/AbsolutePath.h"
#include "common/Converter.h"
#include "common/File.h"
#include "common/PropertyChecks.h"

#include <cassert>

namespace CorePlugin {

namespace {

constexpr const wchar_t* kField = L"field";

} // namespace

TErrorCode FileInfo::validateProperties() {
    return checkRequiredProperties(
        *this,
        {{kAbsolutePath, RC_PATH_PROPERTY_MISSING}, {kField, RC_ATTRIBUTE_OR_SECTION_MISSING}},
        CheckMode::StopAtFirst);
}

TErrorCode FileInfo::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;
    return fileInfo(getProperty(kAbsolutePath), getProperty(kField), result);
}

TErrorCode FileInfo::fileInfo(const wchar_t* absolutePath, const wchar_t* field,
                              PluginSDK::String& result) {
    assert(absolutePath != nullptr && "absolutePath != __null");
    assert(field != nullptr && "field != __null");
    File file(absolutePath);
    result = static_cast<const wchar_t*>(nullptr);
    File::Query query = File::attributeQuery(field);
    if (!query)
        return RC_UNKNOWN_FILE_ATTRIBUTE;
    unsigned long value = 0;
    TErrorCode code = (file.*query)(&value);
    if (code == RC_SUCCESS)
        result = File::isTimeAttribute(field) ? Converter::toString(static_cast<long>(value))
                                              : Converter::toString(value);
    return code;
}

} // namespace CorePlugin
