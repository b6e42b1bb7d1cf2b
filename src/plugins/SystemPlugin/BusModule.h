// Where UnitActiveState finds sd-bus: libSystemPluginBus.so, beside
// libSystemPlugin.so, loaded on the first question to the service manager
// rather than with the plug-in, because loading libsystemd (and libgcrypt,
// liblzma, libzstd and liblz4 with it) would cost every run more than the
// rest of the plug-in (PrivateModule.h). Loaded once per process and kept.
// Built with SYSTEMPLUGIN_BUS_LINKED (the static library the unit tests link),
// the functions are the ones linked in.
#pragma once

#include "SystemPlugin/bus/BusFunctions.h"

#include <string>

namespace SystemPlugin {

class BusModule {
public:
    // The module's functions, or null with the reason in `failure`.
    static const SystemPluginBusFunctions* functions(std::string& failure);

    BusModule(const BusModule&) = delete;
    BusModule& operator=(const BusModule&) = delete;

private:
    BusModule();

    const SystemPluginBusFunctions* m_Functions = nullptr;
    std::string m_Failure;
};

} // namespace SystemPlugin
