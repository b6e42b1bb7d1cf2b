// TextExtract: the first capture group of the first match in a probed text.
#include "SystemPlugin/cross/TextExtract.h"

#include "PluginKit/PluginTrace.h"
#include "base/Utf8.h"

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/TextExtract";

} // namespace

TErrorCode TextExtract::evaluate(const PluginSDK::String& child, PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(),
                "TextExtract::getScalarResult(PluginSDK::String & result)");
    const wchar_t* pattern = getProperty(L"pattern");
    if (!pattern) {
        PK_TRACE_ERROR(trace, "Unspecified \"pattern\"!");
        return RC_PROPERTY_MISSING;
    }
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

} // namespace SystemPlugin
