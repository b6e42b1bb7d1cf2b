// A text as a Comparable.
#include "CorePlugin/common/String.h"

#include "CorePlugin/ResultCodes.h"

namespace CorePlugin {

TErrorCode String::set(const wchar_t* text) {
    m_Value = text;
    return RC_SUCCESS;
}

} // namespace CorePlugin
