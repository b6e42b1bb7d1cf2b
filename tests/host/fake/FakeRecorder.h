// The call log of the fake plug-in: every call its objects receive is
// recorded as one line, handed to the recorder a test installs and, when the
// plug-in property "log" is "stderr", written on standard error.
#pragma once

#include <string>

namespace fakeplugin {

// The exported function a test looks up to install its recorder (null removes it).
using RecorderFunction = void (*)(const char* line);
using SetRecorderFunction = void (*)(RecorderFunction recorder);
constexpr const char* kSetRecorderSymbol = "fakePluginSetRecorder";

// Whether anyone listens: callers skip building lines otherwise.
bool isRecording();
void record(const std::string& line);
void setLogToStandardError(bool enabled);

} // namespace fakeplugin
