// A signed 64-bit decimal number as a Comparable.
#include "CorePlugin/common/Integer.h"

#include "CorePlugin/ResultCodes.h"
#include "PluginKit/NumberText.h"

namespace CorePlugin {

using PluginKit::NumberRead;
using PluginKit::readSigned;

TErrorCode Integer::set(const wchar_t* text) {
    long value = 0;
    if (readSigned(text, value) != NumberRead::Ok)
        return RC_INVALID_ARGUMENT;
    m_Value = value;
    return RC_SUCCESS;
}

} // namespace CorePlugin
