// A text as a Comparable, ordered as the host's string orders texts. Not to be
// confused with the host's PluginSDK::String or the base library's ::String.
#pragma once

#include "CorePlugin/common/ComparableKind.h"
#include "PluginSDK/String.h"

namespace CorePlugin {

class String : public ComparableKind<String> {
public:
    // A null text is the empty text.
    explicit String(const wchar_t* text) : m_Value(text) {}

    // Takes any text as it is; never fails.
    TErrorCode set(const wchar_t* text) override;

    const PluginSDK::String& orderValue() const { return m_Value; }

private:
    PluginSDK::String m_Value;
};

} // namespace CorePlugin
