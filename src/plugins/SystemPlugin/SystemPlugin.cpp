// The plug-in object.
#include "SystemPlugin/SystemPlugin.h"

#include "SystemPlugin/ExpressionFactory.h"
#include "SystemPlugin/ResultCodes.h"

#include "PluginKit/SettingWarning.h"

namespace PluginSDK {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/SystemPlugin";
constexpr const wchar_t* kPluginName = L"SystemPlugin";

using ::SystemPlugin::PluginContext;

constexpr PluginKit::SettingInfo kSettingRows[] = {
    {PluginContext::kDpkgAdminDirName,
     PluginContext::kDefaultDpkgAdminDir,
     "the dpkg database: `status` and `updates/`",
     {}},
    {PluginContext::kSshConfigDirName,
     PluginContext::kDefaultSshConfigDir,
     "the base of relative `Include` paths of `sshd`",
     {}}};

} // namespace

const PluginKit::PluginInfo SystemPlugin::kInfo{kSettingRows, ::SystemPlugin::kResultCodes};

SystemPlugin::SystemPlugin() : PluginBase(kPluginName) {}

SystemPlugin::~SystemPlugin() = default;

void SystemPlugin::storeOrSkipSetting(const wchar_t* name, const wchar_t* value) {
    if (value && m_Context.setProperty(name, value))
        return;
    PluginKit::warnSkippedSetting(kPluginName,
                                  L"SystemPlugin::setProperty(const wchar_t *, const wchar_t *)",
                                  kTraceSource, __LINE__, name, value);
}

PluginVersion SystemPlugin::getVersion() const {
    return PluginVersion{1, 0, 0, 0};
}

TErrorCode SystemPlugin::initializePlugin() {
    // Registration ignores names registered before, so a call that failed
    // for want of memory may simply be made again.
    try {
        addExpressions(::SystemPlugin::expressionTable());
        return ::SystemPlugin::RC_SUCCESS;
    } catch (...) {
        return ::SystemPlugin::RC_INTERNAL_FAILURE;
    }
}

TErrorCode SystemPlugin::cleanupPlugin() {
    return ::SystemPlugin::RC_SUCCESS;
}

Expression* SystemPlugin::newExpression(const wchar_t* name) {
    return ::SystemPlugin::createExpression(name, m_Context);
}

} // namespace PluginSDK
