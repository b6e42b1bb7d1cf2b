// The "FileDigest" expression.
#include "SystemPlugin/cross/FileDigest.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <memory>

#include <openssl/evp.h>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileDigest";

struct ContextRelease {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

} // namespace

TErrorCode FileDigest::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(),
                "FileDigest::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    const std::size_t algorithm =
        checks.choice(L"algorithm", {L"sha256", L"sha512", L"md5"}, __LINE__);
    const std::string path = checks.probePath(__LINE__);
    if (checks.failed())
        return checks.code();

    PluginKit::FileReader reader;
    PluginKit::FileOutcome outcome = reader.open(path);
    if (outcome.ok())
        outcome = reader.refuseKernelFileSystem();
    const EVP_MD* const kinds[] = {EVP_sha256(), EVP_sha512(), EVP_md5()};
    std::unique_ptr<EVP_MD_CTX, ContextRelease> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), kinds[algorithm], nullptr) != 1) {
        checks.fail(RC_INTERNAL_FAILURE, "The digest cannot be computed", __LINE__);
        return checks.code();
    }
    bool digested = true;
    if (outcome.ok())
        outcome = reader.stream([&](const unsigned char* bytes, std::size_t size) {
            digested = digested && EVP_DigestUpdate(context.get(), bytes, size) == 1;
        });
    if (!outcome.ok()) {
        checks.fileFailure(outcome, path, __LINE__);
        return checks.code();
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!digested || EVP_DigestFinal_ex(context.get(), digest, &size) != 1) {
        checks.fail(RC_INTERNAL_FAILURE, "The digest cannot be computed", __LINE__);
        return checks.code();
    }
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring& text = result.str();
    for (unsigned int i = 0; i < size; ++i) {
        text.push_back(kHex[digest[i] >> 4]);
        text.push_back(kHex[digest[i] & 0x0F]);
    }
    return RC_SUCCESS;
}

} // namespace SystemPlugin
