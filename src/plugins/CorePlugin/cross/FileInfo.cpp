// The "FileInfo" expression.
#include "CorePlugin/cross/FileInfo.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/AbsolutePath.h"
#include "CorePlugin/common/Converter.h"
#include "CorePlugin/common/File.h"
#include "CorePlugin/common/PropertyChecks.h"

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

// What FileInfo says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    absolutePathRow(),
    PluginKit::oneOf(PluginKit::required(L"field", RC_ATTRIBUTE_OR_SECTION_MISSING),
                     kFileAttributeNames, RC_UNKNOWN_FILE_ATTRIBUTE)};

} // namespace

const PluginKit::ExpressionInfo FileInfo::kInfo =
    PluginKit::operand(L"FileInfo", PluginKit::ResultText::Number, kPropertyRows,
                       "the attribute as decimal text (times in seconds since 1970-01-01 UTC)");

} // namespace CorePlugin
