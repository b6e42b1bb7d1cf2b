// A truth value as a Comparable.
#include "common/Boolean.h"

#include "ResultCodes.h"
#include "TruthValues.h"

namespace CorePlugin {

TErrorCode Boolean::set(const wchar_t* text) {
    if (!isTruthValue(text))
        return RC_INVALID_ARGUMENT;
    m_Value = isTrueText(text);
    return RC_SUCCESS;
}

} // namespace CorePlugin
