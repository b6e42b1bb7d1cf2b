// An unsigned 64-bit decimal number as a Comparable.
#include "CorePlugin/common/UInteger.h"

#include "CorePlugin/ResultCodes.h"
#include "PluginKit/NumberText.h"

namespace CorePlugin {

using PluginKit::NumberRead;
using PluginKit::readUnsigned;

TErrorCode UInteger::set(const wchar_t* text) {
    unsigned long value = 0;
    if (readUnsigned(text, 10, value) != NumberRead::Ok)
        return RC_INVALID_ARGUMENT;
    m_Value = value;
    return RC_SUCCESS;
}

} // namespace CorePlugin
