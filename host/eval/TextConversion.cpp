// UTF-8 conversions through the base library.
#include "eval/TextConversion.h"

#include "base/Utf8.h"

#include <cwchar>

namespace corehost {

std::string toUtf8(const std::wstring& text) {
    std::string out;
    base::encodeUtf8(text.data(), text.size(), out, true);
    return out;
}

std::string toUtf8(const wchar_t* text) {
    std::string out;
    if (text)
        base::encodeUtf8(text, std::wcslen(text), out, true);
    return out;
}

std::wstring fromUtf8(const std::string& text) {
    std::wstring out;
    base::decodeUtf8(text.data(), text.size(), out);
    return out;
}

} // namespace corehost
