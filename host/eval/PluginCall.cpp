// The module called on each thread, restored when a call ends.
#include "eval/PluginCall.h"

namespace corehost {

namespace {

thread_local PluginModule* t_Current = nullptr;

} // namespace

PluginCall::PluginCall(PluginModule& module) : m_Previous(t_Current) {
    t_Current = &module;
}

PluginCall::~PluginCall() {
    t_Current = m_Previous;
}

PluginModule* PluginCall::current() {
    return t_Current;
}

} // namespace corehost
