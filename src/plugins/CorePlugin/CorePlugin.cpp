// The plug-in object.
#include "CorePlugin.h"

#include "ExpressionFactory.h"
#include "PluginKit/SettingWarning.h"
#include "ResultCodes.h"

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

bool isAcceptedSetting(const wchar_t* name, const wchar_t* value) {
    if (!name || !value || std::wcscmp(name, kRegistrySectionSetting) != 0)
        return false;
    for (const wchar_t* accepted : kRegistrySectionValues)
        if (std::wcscmp(value, accepted) == 0)
            return true;
    return false;
}

} // namespace

CorePlugin::CorePlugin() = default;

CorePlugin::~CorePlugin() = default;

void CorePlugin::setProperty(const wchar_t* name, const wchar_t* value) {
    // Nothing thrown may reach the host; a setting that could not be stored
    // for want of memory is dropped, as there is no code to report it with.
    try {
        storeOrSkipSetting(name, value);
    } catch (...) {
    }
}

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

const wchar_t* CorePlugin::getName() const {
    return kPluginName;
}

void* CorePlugin::getUnknownSoftware() {
    return nullptr;
}

TErrorCode CorePlugin::initializePlugin() {
    // Registration ignores names registered before, so a call that failed
    // for want of memory may simply be made again.
    try {
        for (const ::CorePlugin::ExpressionEntry& entry : ::CorePlugin::expressionTable())
            addExpression(entry.name);
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

TErrorCode CorePlugin::createExpression(const wchar_t* name, Expression** result) {
    if (!name || !result)
        return ::CorePlugin::RC_INVALID_ARGUMENT;
    *result = ::CorePlugin::createExpression(name, &m_MountList);
    return *result ? ::CorePlugin::RC_SUCCESS : ::CorePlugin::RC_UNKNOWN_EXPRESSION;
}

TErrorCode CorePlugin::destroyExpression(Expression* expression) {
    delete expression;
    return ::CorePlugin::RC_SUCCESS;
}

} // namespace PluginSDK
