/* What libSystemPluginBus.so offers the plug-in: one exported function that
 * gives a constant table of plain C functions over libsystemd's sd-bus. The
 * plug-in loads the module on the first question to the service manager, so
 * that a run without one never pays for loading libsystemd and the libraries
 * it needs. Only C types cross: no exception, no C++ object, no allocation
 * the other side frees. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The table's layout; a module of another version is refused. */
#define SYSTEMPLUGIN_BUS_VERSION 1u
/* The name of the exported function. */
#define SYSTEMPLUGIN_BUS_ENTRY "systemPluginBusFunctions"

/* How a question ended. */
enum SystemPluginBusOutcome {
    SYSTEMPLUGIN_BUS_ANSWERED = 0,   /* `state` holds the answer */
    SYSTEMPLUGIN_BUS_NO_MANAGER = 1, /* no service manager to ask */
    SYSTEMPLUGIN_BUS_NO_ANSWER = 2,  /* no answer before the time was up */
    SYSTEMPLUGIN_BUS_NO_UNIT = 3,    /* the manager knows no such unit */
    SYSTEMPLUGIN_BUS_DENIED = 4,     /* the manager refused to tell */
    SYSTEMPLUGIN_BUS_FAILED = 5      /* any other error answer */
};

typedef struct SystemPluginBusFunctions {
    unsigned version;
    /* The ActiveState of `unit` from the system's service manager: first over
     * its private socket /run/systemd/private when `privateFirst`, then over
     * the system bus (DBUS_SYSTEM_BUS_ADDRESS honoured), everything within
     * `timeoutUsec`. A unit whose LoadState is "not-found" is NO_UNIT. The
     * state is written to `state` (`stateSize` bytes with its NUL); `detail`
     * (`detailSize` bytes) says what happened otherwise. */
    int (*activeState)(const char* unit, unsigned long long timeoutUsec, int privateFirst,
                       char* state, size_t stateSize, char* detail, size_t detailSize);
} SystemPluginBusFunctions;

/* The module's only export. */
typedef const SystemPluginBusFunctions* (*SystemPluginBusEntry)(void);
const SystemPluginBusFunctions* systemPluginBusFunctions(void);

#ifdef __cplusplus
}
#endif
