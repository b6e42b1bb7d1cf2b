// What the two INI probes share.
#include "CorePlugin/common/IniLookup.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/PropertyChecks.h"
#include "PluginSDK/IniFileReader.h"

namespace CorePlugin {

namespace {

constexpr const wchar_t* kFile = L"file";
constexpr const wchar_t* kSection = L"section";
constexpr const wchar_t* kKey = L"key";

} // namespace

TErrorCode checkIniProperties(const PluginSDK::Expression& expression) {
    return checkRequiredProperties(expression,
                                   {{kFile, RC_PATH_OR_FILE_MISSING},
                                    {kSection, RC_ATTRIBUTE_OR_SECTION_MISSING},
                                    {kKey, RC_INI_KEY_MISSING}},
                                   CheckMode::LastMissingWins);
}

bool lookupIniKey(const PluginSDK::Expression& expression, std::wstring& value) {
    const wchar_t* section = expression.getProperty(kSection);
    const wchar_t* key = expression.getProperty(kKey);
    if (!section || !key)
        return false;
    PluginSDK::IniFileReader reader(expression.getProperty(kFile));
    if (!reader.isLoaded())
        return false;
    std::wstring found;
    if (reader.getProperty(section, key, found) == 0)
        return false;
    value = found;
    return true;
}

} // namespace CorePlugin
