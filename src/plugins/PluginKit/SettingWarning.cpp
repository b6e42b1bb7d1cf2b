// The warning record of a plug-in setting that is not taken.
#include "PluginKit/SettingWarning.h"

#include "PluginKit/PluginTrace.h"

namespace PluginKit {

void warnSkippedSetting(const wchar_t* pluginName, const wchar_t* function, const char* source,
                        int line, const wchar_t* name, const wchar_t* value) {
    Trace trace(pluginTracer(), function);
    trace.m_Level = TRACE_WARNING;
    trace << trace.pos(source, line) << "Unexpected plugin property, skipping. "
          << "plugin=[" << pluginName << "] "
          << "name=[" << (name ? name : L"") << "] "
          << "value=[" << (value ? value : L"") << "]" << Trace::Modifier(0);
}

} // namespace PluginKit
