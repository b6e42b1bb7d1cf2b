// Where FileDigest finds its digests: libSystemPluginDigest.so, beside
// libSystemPlugin.so, loaded on the first digest rather than with the plug-in,
// because loading libcrypto (relocated in full at load) costs more than all the
// rest of the plug-in (PrivateModule.h). Loaded once per process and kept for its
// life (the plug-in stays loaded once loaded); a module that cannot be loaded stays
// a failure with its reason. Built with SYSTEMPLUGIN_DIGEST_LINKED (the static
// library the unit tests link), the functions are the ones linked in.
#pragma once

#include "SystemPlugin/digest/DigestFunctions.h"

#include <string>

namespace SystemPlugin {

class DigestModule {
public:
    // The module's functions, or null with the reason in `failure`.
    static const SystemPluginDigestFunctions* functions(std::string& failure);

    DigestModule(const DigestModule&) = delete;
    DigestModule& operator=(const DigestModule&) = delete;

private:
    DigestModule();
    ~DigestModule();

    const SystemPluginDigestFunctions* m_Functions = nullptr;
    std::string m_Failure;
};

} // namespace SystemPlugin
