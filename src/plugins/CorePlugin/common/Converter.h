// Conversions between numbers, truth values and text.
#pragma once

#include "PluginSDK/String.h"

namespace CorePlugin {

class Version;

class Converter {
public:
    Converter() = delete;

    // Reads an unsigned decimal number as NumberText's readUnsigned does.
    // Returns -11019 with `value` 0 when the text holds no number (no digit,
    // or a zero followed by other characters) or the number does not fit 64
    // bits. Leaves errno 0.
    static TErrorCode toUnsignedLong(const PluginSDK::String& text, unsigned long& value);

    // Unsigned decimal text: every 64-bit value reads back to the same bits.
    static PluginSDK::String toString(unsigned long value);
    // Signed decimal text.
    static PluginSDK::String toString(long value);
    // "true" or "false".
    static PluginSDK::String toString(bool value);
    // The version as "a.b.c.d".
    static PluginSDK::String toString(Version value);
};

} // namespace CorePlugin
