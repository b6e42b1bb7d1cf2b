// Every result code SystemPlugin returns, with its meaning. Header-only so that
// hosts can print meanings without linking the plug-in.
#pragma once

#include "PluginKit/ResultCodeTable.h"
#include "PluginSDK/Types.h"

namespace SystemPlugin {

enum ResultCode : TErrorCode {
    PLUGINKIT_SHARED_RESULT_CODES,
    RC_PROPERTY_MISSING = -12001,
    RC_PROPERTY_VALUE_INVALID = -12002,
    RC_NOT_FOUND = -12010,
    RC_WRONG_KIND = -12011,
    RC_OVER_LIMIT = -12012,
    RC_KEY_NOT_FOUND = -12014,
    RC_INCLUDE_TOO_DEEP = -12015,
    RC_NO_SUCH_PARAMETER = -12016,
    RC_PACKAGE_NOT_INSTALLED = -12017,
    RC_INVALID_MODE = -12018,
    RC_INVALID_PACKAGE_VERSION = -12019,
    RC_UNREADABLE = -12020,
    RC_INVALID_PATTERN = -12021,
    RC_PACKAGE_DATABASE_UNREADABLE = -12022,
    RC_PACKAGE_AMBIGUOUS = -12023,
    RC_NETWORK_FILE_SYSTEM = -12024,
    RC_NOT_AN_INTEGER = -12025,
    RC_NOT_AVAILABLE = -12026,
    RC_NO_ANSWER = -12027,
    RC_REFUSED_FILE = -12029,
};

using ResultCodeInfo = PluginKit::ResultCodeInfo;

// The table of all codes, in ascending order of magnitude.
inline constexpr ResultCodeInfo kResultCodes[] = {
    PLUGINKIT_SHARED_RESULT_CODE_ROWS,
    {RC_PROPERTY_MISSING, "RC_PROPERTY_MISSING", "a required property is missing"},
    {RC_PROPERTY_VALUE_INVALID, "RC_PROPERTY_VALUE_INVALID",
     "a property holds a value outside its set"},
    {RC_NOT_FOUND, "RC_NOT_FOUND", "does not exist"},
    {RC_WRONG_KIND, "RC_WRONG_KIND", "not of the kind required"},
    {RC_OVER_LIMIT, "RC_OVER_LIMIT", "over a limit"},
    {RC_KEY_NOT_FOUND, "RC_KEY_NOT_FOUND", "key not found and no default"},
    {RC_INCLUDE_TOO_DEEP, "RC_INCLUDE_TOO_DEEP", "include nesting deeper than 16"},
    {RC_NO_SUCH_PARAMETER, "RC_NO_SUCH_PARAMETER", "no such kernel parameter"},
    {RC_PACKAGE_NOT_INSTALLED, "RC_PACKAGE_NOT_INSTALLED", "package not installed"},
    {RC_INVALID_MODE, "RC_INVALID_MODE", "not an octal mode of 1 to 4 digits"},
    {RC_INVALID_PACKAGE_VERSION, "RC_INVALID_PACKAGE_VERSION", "not a version dpkg accepts"},
    {RC_UNREADABLE, "RC_UNREADABLE", "exists but cannot be read"},
    {RC_INVALID_PATTERN, "RC_INVALID_PATTERN", "invalid regular expression"},
    {RC_PACKAGE_DATABASE_UNREADABLE, "RC_PACKAGE_DATABASE_UNREADABLE",
     "package database unreadable"},
    {RC_PACKAGE_AMBIGUOUS, "RC_PACKAGE_AMBIGUOUS",
     "package installed for several architectures with different versions"},
    {RC_NETWORK_FILE_SYSTEM, "RC_NETWORK_FILE_SYSTEM",
     "the path lies on a network or FUSE file system and \"network\" is not \"true\""},
    {RC_NOT_AN_INTEGER, "RC_NOT_AN_INTEGER",
     "the value is not what the program reads as an integer"},
    {RC_NOT_AVAILABLE, "RC_NOT_AVAILABLE",
     "the service manager or kernel facility is not available here"},
    {RC_NO_ANSWER, "RC_NO_ANSWER", "it did not answer in time (5 s)"},
    {RC_REFUSED_FILE, "RC_REFUSED_FILE",
     "the file is one its own program refuses or would not read"},
};

// The table row of a code, or null for a code the plug-in never produces.
inline const ResultCodeInfo* findResultCode(TErrorCode code) {
    return PluginKit::findCodeIn(kResultCodes, code);
}

// The meaning of a code, or "unknown code" for one that is not in the table.
inline const char* describeResultCode(TErrorCode code) {
    return PluginKit::describeCodeIn(kResultCodes, code);
}

} // namespace SystemPlugin
