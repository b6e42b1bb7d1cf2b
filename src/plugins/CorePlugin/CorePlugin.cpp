// The plug-in object.
#include "CorePlugin/CorePlugin.h"

#include "CorePlugin/ExpressionFactory.h"
#include "CorePlugin/ResultCodes.h"
#include "PluginKit/SettingWarning.h"

#include "PluginSDK/Configuration.h"

#include <cassert>
#include <cerrno>
#include <cwchar>

namespace PluginSDK {

namespace {

constexpr char kTraceSource[] = "src/plugins/CorePlugin/CorePlugin";
constexpr const wchar_t* kPluginName = L"CorePlugin";
constexpr const wchar_t* kRegistrySectionSetting = L"defaultWindowsRegistrySection";
constexpr const wchar_t* kRegistrySectionValues[] = {L"32", L"64", L"32or64", L"64or32"};

constexpr PluginKit::SettingInfo kSettingRows[] = {
    {kRegistrySectionSetting, "", "kept for compatibility", kRegistrySectionValues}};

bool isAcceptedSetting(const wchar_t* name, const wchar_t* value) {
    return name && std::wcscmp(name, kRegistrySectionSetting) == 0 &&
           PluginKit::indexOf(kRegistrySectionValues, value) >= 0;
}

} // namespace

const PluginKit::PluginInfo CorePlugin::kInfo{kSettingRows, ::CorePlugin::kResultCodes};

CorePlugin::CorePlugin() : PluginBase(kPluginName) {}

CorePlugin::~CorePlugin() = default;

void CorePlugin::storeOrSkipSetting(const wchar_t* name, const wchar_t* value) {
    if (isAcceptedSetting(name, value)) {
        Configuration* configuration = nullptr;
        // The store exists for every name; only running out of memory fails.
        if (Configuration::get(kPluginName, configuration) == ::CorePlugin::RC_INTERNAL_FAILURE)
            return;
        assert(configuration != nullptr && "configuration != 0");
        configuration->setProperty(String(name), String(value));
        return;
    }
    PluginKit::warnSkippedSetting(kPluginName,
                                  L"CorePlugin::setProperty(const wchar_t *, const wchar_t *)",
                                  kTraceSource, __LINE__, name, value);
}

PluginVersion CorePlugin::getVersion() const {
    return PluginVersion{1, 1, 1, 1};
}

TErrorCode CorePlugin::initializePlugin() {
    // Registration ignores names registered before, so a call that failed
    // for want of memory may simply be made again.
    try {
        addExpressions(::CorePlugin::expressionTable());
        // The table reports why it could not be read as an errno value; the
        // host gets a code of the plug-in's table. A table that failed is read
        // again at the next mount probe.
        const long rc = m_MountList.Initialize();
        if (rc == 0)
            return ::CorePlugin::RC_SUCCESS;
        return rc == -ENOMEM ? ::CorePlugin::RC_INTERNAL_FAILURE
                             : ::CorePlugin::RC_MOUNT_TABLE_UNAVAILABLE;
    } catch (...) {
        return ::CorePlugin::RC_INTERNAL_FAILURE;
    }
}

TErrorCode CorePlugin::cleanupPlugin() {
    try {
        return Configuration::cleanup(kPluginName);
    } catch (...) {
        return ::CorePlugin::RC_INTERNAL_FAILURE;
    }
}

Expression* CorePlugin::newExpression(const wchar_t* name) {
    return ::CorePlugin::createExpression(name, &m_MountList);
}

} // namespace PluginSDK
