// Loads libSystemPluginDigest.so from the directory of the plug-in.
#include "SystemPlugin/DigestModule.h"

#include "SystemPlugin/PrivateModule.h"

namespace SystemPlugin {

const SystemPluginDigestFunctions* DigestModule::functions(std::string& failure) {
    // Initialised once, thread-safely; destroyed at exit (the plug-in stays
    // loaded once loaded), which closes the module again.
    static const DigestModule module;
    if (!module.m_Functions)
        failure = module.m_Failure;
    return module.m_Functions;
}

#ifdef SYSTEMPLUGIN_DIGEST_LINKED

DigestModule::DigestModule() : m_Functions(systemPluginDigestFunctions()) {}

#else

DigestModule::DigestModule() {
    static const PrivateModule module("libSystemPluginDigest.so", SYSTEMPLUGIN_DIGEST_ENTRY);
    m_Functions = checkedTable<SystemPluginDigestFunctions>(module, SYSTEMPLUGIN_DIGEST_VERSION,
                                                            "the digest module", m_Failure);
}

#endif

DigestModule::~DigestModule() = default;

} // namespace SystemPlugin
