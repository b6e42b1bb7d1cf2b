// TextExtract: the first capture group of the first match in a probed text.
#include "SystemPlugin/cross/TextExtract.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "SystemPlugin/common/PropertyRules.h"

#include "PluginKit/PluginTrace.h"
#include "base/Utf8.h"

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/TextExtract";

} // namespace

TErrorCode TextExtract::evaluate(const PluginSDK::String& child, PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(),
                "TextExtract::getScalarResult(PluginSDK::String & result)");
    TErrorCode code = RC_SUCCESS;
    const wchar_t* pattern = requireProperty(
        *this, L"pattern", code, PluginKit::TraceTarget{&trace, kTraceSource, __LINE__});
    if (!pattern)
        return code;
    std::string error;
    if (!m_Pattern.compile(pattern, false, error)) {
        PK_TRACE_ERROR(trace, ("Invalid \"pattern\": " + error).c_str());
        return RC_INVALID_PATTERN;
    }
    if (m_Pattern.captureGroups() < 1) {
        PK_TRACE_ERROR(trace, "\"pattern\" has no capture group!");
        return RC_INVALID_PATTERN;
    }
    std::string text;
    base::encodeUtf8(child.str().data(), child.str().size(), text, true);
    std::string group;
    if (!m_Pattern.extractFirstGroup(text, group))
        return RC_KEY_NOT_FOUND;
    std::wstring wide;
    base::decodeUtf8(group.data(), group.size(), wide);
    result.str() = std::move(wide);
    return RC_SUCCESS;
}

// What TextExtract says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {groupPatternRow(
    PluginKit::required(L"pattern", RC_PROPERTY_MISSING, "its first capture group is the result"))};

} // namespace

const PluginKit::ExpressionInfo TextExtract::kInfo = PluginKit::operation(
    L"TextExtract", PluginKit::ResultText::Any, PluginKit::ChildKinds::Scalar, 1, 1, kPropertyRows,
    "the first capture group of the first match (-12014 none)");

} // namespace SystemPlugin
