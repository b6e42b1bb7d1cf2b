// The choice of texts by "filter" or "pattern".
#include "SystemPlugin/common/TextSelector.h"

#include "SystemPlugin/ResultCodes.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthProperty.h"
#include "base/Utf8.h"

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/common/TextSelector";

} // namespace

TErrorCode TextSelector::configure(const PluginSDK::Expression& expression, bool required,
                                   Trace& trace) {
    m_Mode = Mode::All;
    const wchar_t* filter = expression.getProperty(L"filter");
    const wchar_t* pattern = expression.getProperty(L"pattern");
    if (required && !filter && !pattern) {
        PK_TRACE_ERROR(trace, "Unspecified \"filter\" or \"pattern\"!");
        return RC_PROPERTY_MISSING;
    }
    if (filter && pattern) {
        PK_TRACE_ERROR(trace, "\"filter\" and \"pattern\" exclude each other!");
        return RC_PROPERTY_VALUE_INVALID;
    }
    bool ignoreCase = false;
    if (!PluginKit::readTruthProperty(expression, L"ignoreCase", false, ignoreCase)) {
        PK_TRACE_ERROR(trace, "\"ignoreCase\" is neither \"true\" nor \"false\"!");
        return RC_PROPERTY_VALUE_INVALID;
    }
    if (filter) {
        m_Filter = PluginKit::WildcardFilter(filter, ignoreCase);
        m_Mode = Mode::Filter;
    } else if (pattern) {
        std::string error;
        if (!m_Pattern.compile(pattern, ignoreCase, error)) {
            PK_TRACE_ERROR(trace, ("Invalid \"pattern\": " + error).c_str());
            return RC_INVALID_PATTERN;
        }
        m_Mode = Mode::Pattern;
    }
    return RC_SUCCESS;
}

bool TextSelector::selects(const std::wstring& text) const {
    if (m_Mode == Mode::Filter)
        return m_Filter.matches(text);
    if (m_Mode == Mode::Pattern) {
        std::string utf8;
        base::encodeUtf8(text.data(), text.size(), utf8, true);
        return m_Pattern.search(utf8);
    }
    return true;
}

} // namespace SystemPlugin
