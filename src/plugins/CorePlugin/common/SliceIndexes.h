// The properties that StringSlice and Clip share, and the reading of their
// "startIndex" and "endIndex" texts.
#pragma once

#include "common/PropertyChecks.h"

namespace CorePlugin {

// Checks "inputString", "startIndex" and "endIndex", all of them, with one
// error record for each that is missing; the code of the last missing one.
TErrorCode checkSliceProperties(const PluginSDK::Expression& expression, const TraceTarget& trace);

// Reads the "startIndex" and "endIndex" texts into `start` and `end`. An
// empty text leaves its index unchanged; any other text must be a whole
// signed decimal number that fits a long (blanks around it allowed), else the
// index is left unchanged, "Error: startIndex not a number" or "Error:
// endIndex not a number" is traced and the answer is false. Both are read.
bool readSliceIndexes(const PluginSDK::Expression& expression, const TraceTarget& trace,
                      long& start, long& end);

} // namespace CorePlugin
