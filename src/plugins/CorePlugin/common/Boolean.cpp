// A truth value as a Comparable.
#include "CorePlugin/common/Boolean.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/TruthValues.h"

namespace CorePlugin {

TErrorCode Boolean::set(const wchar_t* text) {
    if (!isTruthValue(text))
        return RC_INVALID_ARGUMENT;
    m_Value = isTrueText(text);
    return RC_SUCCESS;
}

} // namespace CorePlugin
