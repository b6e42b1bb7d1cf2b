// Property texts as UTF-8.
#include "SystemPlugin/common/PropertyText.h"

#include "base/Utf8.h"

#include <cwchar>

namespace SystemPlugin {

std::string utf8Of(const wchar_t* text) {
    std::string out;
    if (text)
        base::encodeUtf8(text, std::wcslen(text), out, true);
    return out;
}

} // namespace SystemPlugin
