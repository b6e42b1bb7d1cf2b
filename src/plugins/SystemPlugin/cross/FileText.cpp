// The "FileText" expression.
#include "SystemPlugin/cross/FileText.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileText";

} // namespace

TErrorCode FileText::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(), "FileText::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    const std::string path = checks.probePath(__LINE__);
    if (checks.failed())
        return checks.code();
    std::string bytes;
    const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(path, bytes);
    if (!outcome.ok()) {
        checks.fileFailure(outcome, path, __LINE__);
        return checks.code();
    }
    result.str() = PluginKit::TextLines::decode(PluginKit::TextLines::withoutFinalLineEnd(bytes));
    return RC_SUCCESS;
}

// What FileText says of itself.

const PluginKit::ExpressionInfo FileText::kInfo =
    PluginKit::operand(L"FileText", PluginKit::ResultText::Any, kPathPropertyRows,
                       "the whole text, one final line end removed (at most 16 MiB)");

} // namespace SystemPlugin
