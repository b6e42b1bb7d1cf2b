// User and group ids as glibc reads them.
#include "SystemPlugin/common/AccountId.h"

#include "utils/Wildcard.h"

#include <cwctype>

namespace SystemPlugin {

bool readAccountId(const std::wstring& text, std::uint32_t& id) {
    std::size_t at = 0;
    while (at < text.size() && std::iswspace(static_cast<wint_t>(text[at])))
        ++at;
    const bool negative = at < text.size() && text[at] == L'-';
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+'))
        ++at;
    if (at == text.size())
        return false;
    std::uint64_t value = 0;
    bool overflow = false;
    for (; at < text.size(); ++at) {
        const wchar_t c = text[at];
        if (c < L'0' || c > L'9')
            return false;
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        overflow = overflow || value > (UINT64_MAX - digit) / 10;
        value = value * 10 + digit;
    }
    // strtoul negates modulo 2^64 (what overflows is ULONG_MAX); glibc refuses
    // an id beyond 32 bits, so of the negative ones only "-0" is an id.
    if (negative)
        value = 0 - value;
    if (overflow || value > UINT32_MAX)
        return false;
    id = static_cast<std::uint32_t>(value);
    return true;
}

bool comparisonKey(const std::wstring& text, bool ignoreCase, bool numeric, std::wstring& key) {
    if (numeric) {
        std::uint32_t id = 0;
        if (!readAccountId(text, id))
            return false;
        key = std::to_wstring(id);
        return true;
    }
    key = text;
    if (ignoreCase)
        utils::stringToLower(key);
    return true;
}

} // namespace SystemPlugin
