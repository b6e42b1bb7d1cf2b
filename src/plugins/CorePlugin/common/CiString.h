// A text as a Comparable that ignores case: stored upper-cased, then ordered
// as the host's string orders texts.
#pragma once

#include "CorePlugin/common/ComparableKind.h"
#include "PluginSDK/String.h"

namespace CorePlugin {

class CiString : public ComparableKind<CiString> {
public:
    // Stores the text upper-cased; a null text is the empty text.
    explicit CiString(const wchar_t* text);

    // Takes any text, upper-cased; never fails.
    TErrorCode set(const wchar_t* text) override;

    const PluginSDK::String& orderValue() const { return m_Value; }

private:
    PluginSDK::String m_Value;
};

} // namespace CorePlugin
