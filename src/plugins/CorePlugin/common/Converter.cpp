// Conversions between numbers, truth values and text.
#include "CorePlugin/common/Converter.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/TruthValues.h"
#include "CorePlugin/common/Version.h"
#include "PluginKit/NumberText.h"
#include "base/WideText.h"

#include <cerrno>
#include <memory>

namespace CorePlugin {

using PluginKit::NumberRead;
using PluginKit::readUnsigned;

TErrorCode Converter::toUnsignedLong(const PluginSDK::String& text, unsigned long& value) {
    errno = 0;
    value = 0;
    unsigned long read = 0;
    if (readUnsigned(text, 10, read) != NumberRead::Ok)
        return RC_NOT_AN_UNSIGNED_NUMBER;
    value = read;
    return RC_SUCCESS;
}

namespace {

struct TextRelease {
    void operator()(wchar_t* text) const { brel_free(text); }
};

// A text of the base library as a String; the text is released once, also
// when copying it runs out of memory.
PluginSDK::String adopt(wchar_t* text) {
    std::unique_ptr<wchar_t, TextRelease> owned(text);
    return PluginSDK::String(owned.get());
}

} // namespace

PluginSDK::String Converter::toString(unsigned long value) {
    return adopt(i_wsprintf("%lu", value));
}

PluginSDK::String Converter::toString(long value) {
    return adopt(i_ltowcs(value));
}

PluginSDK::String Converter::toString(bool value) {
    return PluginSDK::String(value ? kTrue : kFalse);
}

PluginSDK::String Converter::toString(Version value) {
    return adopt(value.get());
}

} // namespace CorePlugin
