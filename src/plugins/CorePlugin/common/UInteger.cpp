// An unsigned 64-bit decimal number as a Comparable.
#include "common/UInteger.h"

#include "ResultCodes.h"
#include "common/NumberText.h"

namespace CorePlugin {

TErrorCode UInteger::set(const wchar_t* text) {
    unsigned long value = 0;
    if (readUnsigned(text, 10, value) != NumberRead::Ok)
        return RC_INVALID_ARGUMENT;
    m_Value = value;
    return RC_SUCCESS;
}

} // namespace CorePlugin
