// The "FileDigest" expression.
#include "SystemPlugin/cross/FileDigest.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/DigestModule.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <memory>
#include <string>

namespace SystemPlugin {

namespace {

// In the order of the digest module's algorithm numbers.
constexpr const wchar_t* kAlgorithms[] = {L"sha256", L"sha512", L"md5"};

} // namespace

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileDigest";

struct ContextRelease {
    const SystemPluginDigestFunctions* functions;
    void operator()(SystemPluginDigestContext* context) const { functions->release(context); }
};

} // namespace

TErrorCode FileDigest::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(),
                "FileDigest::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    const std::size_t algorithm = checks.choice(L"algorithm", kAlgorithms, __LINE__);
    const std::string path = checks.probePath(__LINE__);
    if (checks.failed())
        return checks.code();

    PluginKit::FileReader reader;
    PluginKit::FileOutcome outcome = reader.open(path);
    if (outcome.ok())
        outcome = reader.refuseKernelFileSystem();
    if (!outcome.ok()) {
        checks.fileFailure(outcome, path, __LINE__);
        return checks.code();
    }
    // The module is loaded only now, for a file that can be read: a missing
    // module is an installation fault, answered as an internal failure.
    std::string failure;
    const SystemPluginDigestFunctions* const functions = DigestModule::functions(failure);
    if (!functions) {
        checks.fail(RC_INTERNAL_FAILURE, failure.c_str(), __LINE__);
        return checks.code();
    }
    std::unique_ptr<SystemPluginDigestContext, ContextRelease> context(
        functions->start(static_cast<int>(algorithm)), ContextRelease{functions});
    if (!context) {
        checks.fail(RC_INTERNAL_FAILURE, "The digest cannot be computed", __LINE__);
        return checks.code();
    }
    bool digested = true;
    outcome = reader.stream([&](const unsigned char* bytes, std::size_t size) {
        digested = digested && functions->update(context.get(), bytes, size) == 1;
    });
    if (!outcome.ok()) {
        checks.fileFailure(outcome, path, __LINE__);
        return checks.code();
    }
    unsigned char digest[SYSTEMPLUGIN_DIGEST_MAX_SIZE];
    std::size_t size = 0;
    if (!digested || functions->finish(context.get(), digest, &size) != 1) {
        checks.fail(RC_INTERNAL_FAILURE, "The digest cannot be computed", __LINE__);
        return checks.code();
    }
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring& text = result.str();
    for (std::size_t i = 0; i < size; ++i) {
        text.push_back(kHex[digest[i] >> 4]);
        text.push_back(kHex[digest[i] & 0x0F]);
    }
    return RC_SUCCESS;
}

// What FileDigest says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    pathRow(), choiceRow(L"algorithm", kAlgorithms, "default `sha256`"), networkRow()};

} // namespace

const PluginKit::ExpressionInfo FileDigest::kInfo =
    PluginKit::operand(L"FileDigest", PluginKit::ResultText::HexDigest, kPropertyRows,
                       "lower-case hex digest of the content");

} // namespace SystemPlugin
