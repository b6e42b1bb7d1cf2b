// Loads libSystemPluginBus.so from the directory of the plug-in.
#include "SystemPlugin/BusModule.h"

#include "SystemPlugin/PrivateModule.h"

namespace SystemPlugin {

const SystemPluginBusFunctions* BusModule::functions(std::string& failure) {
    static const BusModule module; // initialised once, thread-safely
    if (!module.m_Functions)
        failure = module.m_Failure;
    return module.m_Functions;
}

#ifdef SYSTEMPLUGIN_BUS_LINKED

BusModule::BusModule() : m_Functions(systemPluginBusFunctions()) {}

#else

BusModule::BusModule() {
    static const PrivateModule module("libSystemPluginBus.so", SYSTEMPLUGIN_BUS_ENTRY);
    m_Functions = checkedTable<SystemPluginBusFunctions>(module, SYSTEMPLUGIN_BUS_VERSION,
                                                         "the bus module", m_Failure);
}

#endif

} // namespace SystemPlugin
