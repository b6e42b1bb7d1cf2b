// Every result code the plug-in returns, with its meaning. Header-only so that
// hosts can print meanings without linking the plug-in.
#pragma once

#include "PluginKit/ResultCodeTable.h"
#include "PluginSDK/Types.h"

namespace CorePlugin {

enum ResultCode : TErrorCode {
    PLUGINKIT_SHARED_RESULT_CODES,
    RC_UNKNOWN_RELATION = -11007,
    RC_INVALID_VERSION = -11008,
    RC_FILE_STATUS_FAILED = -11009,
    RC_UNKNOWN_COMPARISON_TYPE = -11010,
    RC_UNKNOWN_FILE_ATTRIBUTE = -11011,
    RC_FILE_WITHOUT_PATH = -11012,
    RC_NOT_A_REGULAR_FILE = -11013,
    RC_PATH_OR_FILE_MISSING = -11014,
    RC_NOT_AN_UNSIGNED_NUMBER = -11019,
    RC_INI_KEY_MISSING = -11020,
    RC_VALUE_MISSING = -11022,
    RC_RELATION_MISSING = -11023,
    RC_PATH_PROPERTY_MISSING = -11025,
    RC_COMPARISON_TYPE_MISSING = -11026,
    RC_ATTRIBUTE_OR_SECTION_MISSING = -11027,
    RC_INVALID_MUST_EXIST = -11028,
    RC_COMPARED_FILE_MISSING = -11033,
    RC_INDEX_MISSING = -11034,
    RC_INDEX_BEYOND_LIST = -11035,
    RC_INPUT_STRING_MISSING = -11038,
    RC_INVALID_STRING_PARAMETER = -11039,
    RC_START_OR_END_MISSING = -11051,
    RC_POSITION_MISSING = -11052,
    RC_INVALID_SORT_ORDER = -11056,
};

using ResultCodeInfo = PluginKit::ResultCodeInfo;

// The table of all codes, in ascending order of magnitude.
inline constexpr ResultCodeInfo kResultCodes[] = {
    PLUGINKIT_SHARED_RESULT_CODE_ROWS,
    {RC_UNKNOWN_RELATION, "RC_UNKNOWN_RELATION", "unrecognised relation"},
    {RC_INVALID_VERSION, "RC_INVALID_VERSION", "invalid version text"},
    {RC_FILE_STATUS_FAILED, "RC_FILE_STATUS_FAILED", "file status query failed"},
    {RC_UNKNOWN_COMPARISON_TYPE, "RC_UNKNOWN_COMPARISON_TYPE", "unrecognised comparison type"},
    {RC_UNKNOWN_FILE_ATTRIBUTE, "RC_UNKNOWN_FILE_ATTRIBUTE", "unrecognised file attribute"},
    {RC_FILE_WITHOUT_PATH, "RC_FILE_WITHOUT_PATH", "file object without a path"},
    {RC_NOT_A_REGULAR_FILE, "RC_NOT_A_REGULAR_FILE", "not a regular file"},
    {RC_PATH_OR_FILE_MISSING, "RC_PATH_OR_FILE_MISSING", "path or file name missing"},
    {RC_NOT_AN_UNSIGNED_NUMBER, "RC_NOT_AN_UNSIGNED_NUMBER", "not an unsigned decimal number"},
    {RC_INI_KEY_MISSING, "RC_INI_KEY_MISSING", "INI key missing"},
    {RC_VALUE_MISSING, "RC_VALUE_MISSING", "value missing"},
    {RC_RELATION_MISSING, "RC_RELATION_MISSING", "relation missing"},
    {RC_PATH_PROPERTY_MISSING, "RC_PATH_PROPERTY_MISSING", "path property missing"},
    {RC_COMPARISON_TYPE_MISSING, "RC_COMPARISON_TYPE_MISSING", "comparison type missing"},
    {RC_ATTRIBUTE_OR_SECTION_MISSING, "RC_ATTRIBUTE_OR_SECTION_MISSING",
     "attribute or section missing"},
    {RC_INVALID_MUST_EXIST, "RC_INVALID_MUST_EXIST", "invalid \"mustExist\""},
    {RC_COMPARED_FILE_MISSING, "RC_COMPARED_FILE_MISSING", "compared file does not exist"},
    {RC_INDEX_MISSING, "RC_INDEX_MISSING", "index missing"},
    {RC_INDEX_BEYOND_LIST, "RC_INDEX_BEYOND_LIST", "index beyond the list"},
    {RC_INPUT_STRING_MISSING, "RC_INPUT_STRING_MISSING", "input string missing"},
    {RC_INVALID_STRING_PARAMETER, "RC_INVALID_STRING_PARAMETER",
     "invalid string-operation parameter"},
    {RC_START_OR_END_MISSING, "RC_START_OR_END_MISSING", "start or end missing"},
    {RC_POSITION_MISSING, "RC_POSITION_MISSING", "position missing"},
    {RC_INVALID_SORT_ORDER, "RC_INVALID_SORT_ORDER", "invalid sort order"},
};

// The table row of a code, or null for a code the plug-in never produces.
inline const ResultCodeInfo* findResultCode(TErrorCode code) {
    return PluginKit::findCodeIn(kResultCodes, code);
}

// The meaning of a code, or "unknown code" for one that is not in the table.
inline const char* describeResultCode(TErrorCode code) {
    return PluginKit::describeCodeIn(kResultCodes, code);
}

} // namespace CorePlugin
