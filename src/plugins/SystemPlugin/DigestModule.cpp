// Loads libSystemPluginDigest.so from the directory of the library this code
// is in.
#include "SystemPlugin/DigestModule.h"

#include <dlfcn.h>

namespace SystemPlugin {

const SystemPluginDigestFunctions* DigestModule::functions(std::string& failure) {
    // Initialised once, thread-safely; destroyed when this library is unloaded
    // (or at exit), which closes the module again.
    static const DigestModule module;
    if (!module.m_Functions)
        failure = module.m_Failure;
    return module.m_Functions;
}

#ifdef SYSTEMPLUGIN_DIGEST_LINKED

DigestModule::DigestModule() : m_Functions(systemPluginDigestFunctions()) {}

#else

namespace {

constexpr char kModuleName[] = "libSystemPluginDigest.so";

std::string loaderError() {
    const char* text = dlerror();
    return text ? text : "no reason given";
}

} // namespace

DigestModule::DigestModule() {
    // The library holding this very function is libSystemPlugin.so; its name
    // is the path it was loaded from.
    Dl_info self{};
    if (dladdr(reinterpret_cast<const void*>(&DigestModule::functions), &self) == 0 ||
        !self.dli_fname) {
        m_Failure = "the digest module cannot be loaded: the plug-in's own path is unknown";
        return;
    }
    const std::string library = self.dli_fname;
    const std::size_t slash = library.rfind('/');
    if (slash == std::string::npos) {
        m_Failure = "the digest module cannot be loaded: the plug-in's path \"" + library +
                    "\" names no directory";
        return;
    }
    const std::string path = library.substr(0, slash + 1) + kModuleName;
    m_Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_Handle) {
        m_Failure = "the digest module cannot be loaded: " + loaderError();
        return;
    }
    const auto entry =
        reinterpret_cast<SystemPluginDigestEntry>(dlsym(m_Handle, SYSTEMPLUGIN_DIGEST_ENTRY));
    const SystemPluginDigestFunctions* functions = entry ? entry() : nullptr;
    if (!functions || functions->version != SYSTEMPLUGIN_DIGEST_VERSION) {
        m_Failure = "the digest module " + path + " is not of this plug-in's version " +
                    std::to_string(SYSTEMPLUGIN_DIGEST_VERSION);
        return;
    }
    m_Functions = functions;
}

#endif

DigestModule::~DigestModule() {
    if (m_Handle)
        dlclose(m_Handle);
}

} // namespace SystemPlugin
