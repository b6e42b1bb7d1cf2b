// The fake plug-in's call log.
#include "FakeRecorder.h"

#include <cstdio>

namespace fakeplugin {

namespace {

RecorderFunction g_Recorder = nullptr;
bool g_LogToStandardError = false;

} // namespace

bool isRecording() {
    return g_Recorder || g_LogToStandardError;
}

void record(const std::string& line) {
    if (g_Recorder)
        g_Recorder(line.c_str());
    if (g_LogToStandardError)
        std::fprintf(stderr, "fake: %s\n", line.c_str());
}

void setLogToStandardError(bool enabled) {
    g_LogToStandardError = enabled;
}

} // namespace fakeplugin

extern "C" __attribute__((visibility("default"))) void
fakePluginSetRecorder(fakeplugin::RecorderFunction recorder) {
    fakeplugin::g_Recorder = recorder;
}
