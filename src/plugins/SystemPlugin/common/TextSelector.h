// The choice of texts by "filter" (the project's wildcard over the whole text,
// with "ignoreCase") or by "pattern" (RE2, found anywhere unless anchored),
// shared by the expressions that match or select texts.
#pragma once

#include "SystemPlugin/common/RegexPattern.h"

#include "PluginKit/WildcardFilter.h"
#include "PluginSDK/Expression.h"
#include "QxLogWrapper/Trace.h"

#include <string>

namespace SystemPlugin {

class TextSelector {
public:
    // Reads "filter", "pattern" and "ignoreCase" of `expression`, checking in
    // this order: with `required`, one of "filter" and "pattern" must be
    // there (-12001); not both, and "ignoreCase" exactly "true" or "false"
    // (-12002); the pattern compiles (-12021). Error records go to `trace`.
    // Without a filter and a pattern every text is selected.
    TErrorCode configure(const PluginSDK::Expression& expression, bool required, Trace& trace);

    // Whether `text` is selected.
    bool selects(const std::wstring& text) const;

private:
    enum class Mode { All, Filter, Pattern };
    Mode m_Mode = Mode::All;
    PluginKit::WildcardFilter m_Filter;
    RegexPattern m_Pattern;
};

} // namespace SystemPlugin
