// The plug-in object.
#include "SystemPlugin/SystemPlugin.h"

#include "SystemPlugin/DigestModule.h"
#include "SystemPlugin/ExpressionFactory.h"
#include "SystemPlugin/ResultCodes.h"

#include "PluginKit/Mounts.h"
#include "PluginKit/PluginTrace.h"
#include "PluginKit/SettingWarning.h"
#include "base/ScanRoot.h"

#include <cwchar>

namespace PluginSDK {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/SystemPlugin";
constexpr const wchar_t* kPluginName = L"SystemPlugin";

using ::SystemPlugin::PluginContext;

constexpr PluginKit::SettingInfo kSettingRows[] = {
    {PluginContext::kDpkgAdminDirName,
     PluginContext::kDefaultDpkgAdminDir,
     "the dpkg database: `status` and `updates/`; empty names none (-12022)",
     {}},
    {PluginContext::kSshConfigDirName,
     PluginContext::kDefaultSshConfigDir,
     "the base of relative `Include` paths of `sshd`",
     {}},
    {PluginContext::kUnitRootName,
     PluginContext::kDefaultUnitRoot,
     "the directory that stands for `/` where unit files are looked up",
     {}}};

} // namespace

const PluginKit::PluginInfo SystemPlugin::kInfo{kSettingRows, ::SystemPlugin::kResultCodes};

SystemPlugin::SystemPlugin() : PluginBase(kPluginName) {}

SystemPlugin::~SystemPlugin() = default;

void SystemPlugin::storeOrSkipSetting(const wchar_t* name, const wchar_t* value) {
    if (value && m_Context.setProperty(name, value)) {
        if (*value == L'\0' &&
            std::wcscmp(name, ::SystemPlugin::PluginContext::kDpkgAdminDirName) == 0)
            warnEmptyAdminDir();
        return;
    }
    PluginKit::warnSkippedSetting(kPluginName,
                                  L"SystemPlugin::setProperty(const wchar_t *, const wchar_t *)",
                                  kTraceSource, __LINE__, name, value);
}

void SystemPlugin::warnEmptyAdminDir() {
    Trace trace(PluginKit::pluginTracer(),
                "SystemPlugin::setProperty(const wchar_t *, const wchar_t *)");
    PluginKit::traceMessage(trace, PluginKit::TRACE_WARNING, kTraceSource, __LINE__,
                            "dpkgAdminDir is empty: it names no package database, so every "
                            "package expression answers -12022");
}

PluginVersion SystemPlugin::getVersion() const {
    return PluginVersion{1, 0, 0, 0};
}

namespace {

// Once the host has entered a scanned image, a path names the image's file:
// whatever the probes would load later is loaded now, from the host. The digest
// module and libcrypto, with the configuration and providers libcrypto reads at
// its first digest (an image's openssl.cnf could name a module of its own); and
// the mount table, which the probes consult before touching a path. The service
// manager's module is not needed: in an image there is no service manager.
void loadBeforeScanningImage() {
    std::string failure;
    if (const SystemPluginDigestFunctions* digests =
            ::SystemPlugin::DigestModule::functions(failure))
        for (int algorithm :
             {SYSTEMPLUGIN_DIGEST_SHA256, SYSTEMPLUGIN_DIGEST_SHA512, SYSTEMPLUGIN_DIGEST_MD5}) {
            SystemPluginDigestContext* context = digests->start(algorithm);
            unsigned char out[SYSTEMPLUGIN_DIGEST_MAX_SIZE];
            std::size_t size = 0;
            if (context)
                digests->finish(context, out, &size);
            digests->release(context);
        }
    PluginKit::Mounts::ofProcess();
}

} // namespace

TErrorCode SystemPlugin::initializePlugin() {
    // Registration ignores names registered before, so a call that failed
    // for want of memory may simply be made again.
    try {
        addExpressions(::SystemPlugin::expressionTable());
        if (base::ScanRoot::active())
            loadBeforeScanningImage();
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
