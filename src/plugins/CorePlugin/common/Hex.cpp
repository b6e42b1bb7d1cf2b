// An unsigned 64-bit hexadecimal number as a Comparable.
#include "CorePlugin/common/Hex.h"

#include "CorePlugin/ResultCodes.h"
#include "PluginKit/NumberText.h"

#include <cerrno>

namespace CorePlugin {

using PluginKit::NumberRead;
using PluginKit::readUnsigned;

TErrorCode Hex::set(const wchar_t* text) {
    errno = 0;
    if (!text)
        return RC_INVALID_ARGUMENT;
    if (*text == L'\0') {
        m_Value = 0;
        return RC_SUCCESS;
    }
    unsigned long value = 0;
    if (readUnsigned(text, 16, value) != NumberRead::Ok)
        return RC_INVALID_ARGUMENT;
    m_Value = value;
    return RC_SUCCESS;
}

bool Hex::isZero(const wchar_t* text) {
    if (!text)
        return false;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'0' || (p - text == 1 && *p == L'x'))
            continue;
        return false;
    }
    return true;
}

} // namespace CorePlugin
