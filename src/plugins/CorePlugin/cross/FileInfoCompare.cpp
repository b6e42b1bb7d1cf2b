// FileInfoCompare: one attribute of a file compared with the property "value".
#include "CorePlugin/cross/FileInfoCompare.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/TruthValues.h"
#include "CorePlugin/common/AbsolutePath.h"
#include "CorePlugin/common/File.h"
#include "CorePlugin/common/Integer.h"
#include "CorePlugin/common/PropertyChecks.h"
#include "CorePlugin/common/String.h"
#include "CorePlugin/common/UInteger.h"

#include <cwchar>
#include <memory>

namespace CorePlugin {

namespace {

constexpr const wchar_t* kField = L"field";
constexpr const wchar_t* kRelation = L"relation";
constexpr const wchar_t* kValue = L"value";
constexpr const wchar_t* kMustExist = L"mustExist";

// A value of the kind a field compares as: the size and the times are signed
// (a file from before 1970 is older than every later one), the inode is
// unsigned. Null for a name that is not a field.
std::unique_ptr<Comparable> makeFieldValue(const wchar_t* field, unsigned long value) {
    if (!File::attributeQuery(field))
        return nullptr;
    if (std::wcscmp(field, L"inode") != 0)
        return std::make_unique<Integer>(static_cast<long>(value));
    return std::make_unique<UInteger>(value);
}

} // namespace

TErrorCode FileInfoCompare::validateProperties() {
    return checkRequiredProperties(*this,
                                   {{kAbsolutePath, RC_PATH_PROPERTY_MISSING},
                                    {kField, RC_ATTRIBUTE_OR_SECTION_MISSING},
                                    {kRelation, RC_RELATION_MISSING},
                                    {kValue, RC_VALUE_MISSING}},
                                   CheckMode::StopAtFirst);
}

TErrorCode FileInfoCompare::getFirstOperand(Comparable** first) {
    if (!first)
        return RC_INVALID_ARGUMENT;
    *first = nullptr;
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;
    const wchar_t* field = getProperty(kField);
    bool mustExist = isTrueText(getProperty(kMustExist));

    File file(getProperty(kAbsolutePath));
    bool exists = false;
    code = file.exists(&exists);
    if (code != RC_SUCCESS)
        return code;
    if (!exists) {
        if (mustExist)
            return RC_COMPARED_FILE_MISSING;
        // No field compares as a String, so every relation is then false.
        *first = new String(L"");
        return RC_SUCCESS;
    }

    File::Query query = File::attributeQuery(field);
    if (!query)
        return RC_UNKNOWN_FILE_ATTRIBUTE;
    unsigned long value = 0;
    code = (file.*query)(&value);
    if (code != RC_SUCCESS)
        return code;
    *first = makeFieldValue(field, value).release();
    return RC_SUCCESS;
}

TErrorCode FileInfoCompare::getSecondOperand(Comparable** second) {
    if (!second)
        return RC_INVALID_ARGUMENT;
    *second = nullptr;
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;
    std::unique_ptr<Comparable> value = makeFieldValue(getProperty(kField), 0);
    if (!value)
        return RC_UNKNOWN_FILE_ATTRIBUTE;
    code = value->set(getProperty(kValue));
    if (code != RC_SUCCESS)
        return code;
    *second = value.release();
    return RC_SUCCESS;
}

// What FileInfoCompare says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::oneOf(PluginKit::required(L"relation", RC_RELATION_MISSING),
                     CompareOperand::kRelationNames, RC_UNKNOWN_RELATION),
    absolutePathRow(),
    PluginKit::oneOf(PluginKit::required(L"field", RC_ATTRIBUTE_OR_SECTION_MISSING),
                     kFileAttributeNames, RC_UNKNOWN_FILE_ATTRIBUTE),
    PluginKit::ruled(PluginKit::required(L"value", RC_VALUE_MISSING), PluginKit::ValueRule::Number,
                     RC_INVALID_ARGUMENT),
    truthRow(L"mustExist", "`true`: a missing file is -11033")};

} // namespace

const PluginKit::ExpressionInfo FileInfoCompare::kInfo =
    PluginKit::operand(L"FileInfoCompare", PluginKit::ResultText::Truth, kPropertyRows,
                       "`true`/`false`: the file's attribute compared with `value`");

} // namespace CorePlugin
