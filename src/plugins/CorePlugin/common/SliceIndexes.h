// The reading of the "startIndex" and "endIndex" texts that StringSlice and
// Clip share.
#pragma once

#include "CorePlugin/common/PropertyChecks.h"

namespace CorePlugin {

// Reads the property `name` ("startIndex" or "endIndex") into `value`. An
// empty text leaves the index unchanged; any other text must be a whole
// signed decimal number that fits a long (blanks around it allowed), else the
// index is left unchanged, "Error: <name> not a number" is traced at the
// target's line and the answer is false.
bool readSliceIndex(const PluginSDK::Expression& expression, const wchar_t* name,
                    const TraceTarget& trace, long& value);

} // namespace CorePlugin
