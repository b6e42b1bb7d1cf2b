// The result code of a file outcome, and the UTF-8 form of property texts.
#pragma once

#include "PluginKit/FileOutcome.h"
#include "PluginKit/PropertyChecks.h"
#include "PluginSDK/Types.h"

#include <string>

namespace SystemPlugin {

// 0, -12010 (missing), -12011 (wrong kind), -12012 (over a limit) or -12020.
TErrorCode codeOf(const PluginKit::FileOutcome& outcome);

// The same, writing an error record that names the path (and errno) when the
// outcome is a failure and `trace` has a scope.
TErrorCode codeOf(const PluginKit::FileOutcome& outcome, const std::string& path,
                  const PluginKit::TraceTarget& trace);

// The UTF-8 form of a property text; "" for null.
std::string utf8Of(const wchar_t* text);

} // namespace SystemPlugin
