// A text as a Comparable that ignores case.
#include "CorePlugin/common/CiString.h"

#include "CorePlugin/ResultCodes.h"

namespace CorePlugin {

CiString::CiString(const wchar_t* text) : m_Value(text) {
    m_Value.toUpperCase();
}

TErrorCode CiString::set(const wchar_t* text) {
    m_Value = text;
    m_Value.toUpperCase();
    return RC_SUCCESS;
}

} // namespace CorePlugin
