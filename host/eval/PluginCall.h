// Which plug-in the host is calling on this thread: a plug-in's trace records
// arrive while it runs, and the host tells them apart by the call.
#pragma once

namespace corehost {

class PluginModule;

class PluginCall {
public:
    // Marks `module` as called on this thread until the end of the scope.
    explicit PluginCall(PluginModule& module);
    ~PluginCall();
    PluginCall(const PluginCall&) = delete;
    PluginCall& operator=(const PluginCall&) = delete;

    // The module being called on this thread, or null.
    static PluginModule* current();

private:
    PluginModule* m_Previous;
};

} // namespace corehost
