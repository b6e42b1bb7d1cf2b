// Conversions between numbers, truth values and text.
#include "common/Converter.h"

#include "ResultCodes.h"
#include "TruthValues.h"
#include "base/WideText.h"
#include "common/NumberText.h"
#include "common/Version.h"

#include <cerrno>

namespace CorePlugin {

TErrorCode Converter::toUnsignedLong(const PluginSDK::String& text, unsigned long& value) {
    errno = 0;
    value = 0;
    unsigned long read = 0;
    if (readUnsigned(text, 10, read) != NumberRead::Ok)
        return RC_NOT_AN_UNSIGNED_NUMBER;
    value = read;
    return RC_SUCCESS;
}

PluginSDK::String Converter::toString(unsigned long value) {
    PluginSDK::String result;
    wchar_t* text = i_wsprintf("%lu", value);
    result = text;
    brel_free(text);
    return result;
}

PluginSDK::String Converter::toString(long value) {
    PluginSDK::String result;
    wchar_t* text = i_ltowcs(value);
    result = text;
    brel_free(text);
    return result;
}

PluginSDK::String Converter::toString(bool value) {
    return PluginSDK::String(value ? kTrue : kFalse);
}

PluginSDK::String Converter::toString(Version value) {
    PluginSDK::String result;
    wchar_t* text = value.get();
    result = text;
    brel_free(text);
    return result;
}

} // namespace CorePlugin
