// libSystemPluginDigest.so: the digests of FileDigest over libcrypto's EVP
// interface, behind the plain C table of DigestFunctions.h. Built without
// exceptions: nothing here can throw, so nothing can cross to the plug-in.
#include "SystemPlugin/digest/DigestFunctions.h"

#include <openssl/evp.h>

static_assert(EVP_MAX_MD_SIZE >= SYSTEMPLUGIN_DIGEST_MAX_SIZE, "a digest fits EVP's buffer");

namespace {

EVP_MD_CTX* evp(SystemPluginDigestContext* context) {
    return reinterpret_cast<EVP_MD_CTX*>(context);
}

SystemPluginDigestContext* start(int algorithm) {
    const EVP_MD* kind = nullptr;
    switch (algorithm) {
    case SYSTEMPLUGIN_DIGEST_SHA256:
        kind = EVP_sha256();
        break;
    case SYSTEMPLUGIN_DIGEST_SHA512:
        kind = EVP_sha512();
        break;
    case SYSTEMPLUGIN_DIGEST_MD5:
        kind = EVP_md5();
        break;
    default:
        return nullptr;
    }
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    if (context && EVP_DigestInit_ex(context, kind, nullptr) != 1) {
        EVP_MD_CTX_free(context);
        context = nullptr;
    }
    return reinterpret_cast<SystemPluginDigestContext*>(context);
}

int update(SystemPluginDigestContext* context, const unsigned char* bytes, size_t size) {
    return context && EVP_DigestUpdate(evp(context), bytes, size) == 1 ? 1 : 0;
}

int finish(SystemPluginDigestContext* context, unsigned char* out, size_t* size) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!context || EVP_DigestFinal_ex(evp(context), digest, &length) != 1 ||
        length > SYSTEMPLUGIN_DIGEST_MAX_SIZE)
        return 0;
    for (unsigned int i = 0; i < length; ++i)
        out[i] = digest[i];
    *size = length;
    return 1;
}

void release(SystemPluginDigestContext* context) {
    EVP_MD_CTX_free(evp(context));
}

constexpr SystemPluginDigestFunctions kFunctions = {SYSTEMPLUGIN_DIGEST_VERSION, start, update,
                                                    finish, release};

} // namespace

extern "C" __attribute__((visibility("default"))) const SystemPluginDigestFunctions*
systemPluginDigestFunctions(void) {
    return &kFunctions;
}
