// Select: the values of a list that match, or that do not.
#include "SystemPlugin/cross/Select.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/PropertyRows.h"
#include "SystemPlugin/common/PropertyRules.h"
#include "SystemPlugin/common/TextSelector.h"
#include "base/Utf8.h"

#include <string>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/Select";

} // namespace

TErrorCode Select::update(const PluginSDK::StringVector& value) {
    return m_Operand.accept(value);
}

TErrorCode Select::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(),
                "Select::getVectorResult(PluginSDK::StringVector & result)");
    result.removeAll();
    if (!m_Operand.isComplete())
        return RC_OPERANDS_INCOMPLETE;
    const bool byPattern = getProperty(L"pattern") != nullptr;
    if (!byPattern && !getProperty(L"filter")) {
        PK_TRACE_ERROR(trace, "Unspecified \"filter\" or \"pattern\"!");
        return RC_PROPERTY_MISSING;
    }
    bool invert = false;
    bool capture = false;
    TErrorCode code = readTruthSetting(*this, L"invert", false, invert,
                                       PluginKit::TraceTarget{&trace, kTraceSource, __LINE__});
    if (code == RC_SUCCESS)
        code = readTruthSetting(*this, L"capture", false, capture,
                                PluginKit::TraceTarget{&trace, kTraceSource, __LINE__});
    if (code != RC_SUCCESS)
        return code;
    // A value that does not match has no group to capture.
    if (capture && (!byPattern || invert)) {
        PK_TRACE_ERROR(trace, "\"capture\" takes a \"pattern\", and not \"invert\"!");
        return RC_PROPERTY_VALUE_INVALID;
    }
    TextSelector selector;
    code = selector.configure(*this, true, trace);
    if (code != RC_SUCCESS)
        return code;
    if (capture && selector.pattern()->captureGroups() < 1) {
        PK_TRACE_ERROR(trace, "\"capture\" needs a capture group in \"pattern\"!");
        return RC_INVALID_PATTERN;
    }
    PluginSDK::StringVector selected;
    std::string utf8;
    std::string group;
    std::wstring wide;
    for (const PluginSDK::String& item : m_Operand.value().items()) {
        if (!capture) {
            if (selector.selects(item.str()) != invert)
                selected.addString(item);
            continue;
        }
        utf8.clear();
        base::encodeUtf8(item.str().data(), item.str().size(), utf8, true);
        if (!selector.pattern()->extractFirstGroup(utf8, group))
            continue;
        wide.clear();
        base::decodeUtf8(group.data(), group.size(), wide);
        selected.addString(wide.c_str());
    }
    result = std::move(selected);
    return RC_SUCCESS;
}

// What Select says of itself.

namespace {

// "capture" "true", which takes no "invert" "true".
constexpr const wchar_t* kCaptureOn[] = {PluginKit::kTruthTexts[0]};

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    filterRow(), ignoreCaseRow(), optionalPatternRow(true),
    PluginKit::refusingOnly(
        PluginKit::appliesUnless(truthRow(L"invert", "`true`: the values that do not match"),
                                 L"capture", kCaptureOn, 0, RC_PROPERTY_VALUE_INVALID),
        PluginKit::kTruthTexts[0]),
    PluginKit::refusingOnly(
        PluginKit::appliesWhen(
            truthRow(L"capture", "`true`, with `pattern` only: each matching value replaced by "
                                 "the pattern's first capture group (-12021 without one)"),
            L"pattern", PluginKit::Values(), 0, RC_PROPERTY_VALUE_INVALID),
        PluginKit::kTruthTexts[0])};

} // namespace

const PluginKit::ExpressionInfo Select::kInfo = PluginKit::operation(
    L"Select", PluginKit::ResultText::List, PluginKit::ChildKinds::Vector, 1, 1, kPropertyRows,
    "the values that match (with `invert`: that do not), in order; one of `filter`, `pattern` "
    "(else -12001)");

} // namespace SystemPlugin
