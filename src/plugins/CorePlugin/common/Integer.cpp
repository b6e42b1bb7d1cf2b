// A signed 64-bit decimal number as a Comparable.
#include "common/Integer.h"

#include "ResultCodes.h"
#include "common/NumberText.h"

namespace CorePlugin {

TErrorCode Integer::set(const wchar_t* text) {
    long value = 0;
    if (readSigned(text, value) != NumberRead::Ok)
        return RC_INVALID_ARGUMENT;
    m_Value = value;
    return RC_SUCCESS;
}

} // namespace CorePlugin
