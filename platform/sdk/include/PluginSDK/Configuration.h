// Named configuration stores that the host keeps for its plug-ins.
#pragma once

#include "PluginSDK/String.h"

#include <mutex>
#include <utility>
#include <vector>

namespace PluginSDK {

// Safe for concurrent use: the registry and each store have their own lock,
// and a store, once made, lives as long as the process, so a pointer from
// get() never dangles (cleanup empties the store rather than freeing it).
class PLUGINSDK_API Configuration {
public:
    // The store of a name, made on first use; 0 and a store for a non-null
    // name, -101 (and null) for a null name, -103 (and null) when memory ran
    // out.
    static TErrorCode get(const wchar_t* name, Configuration*& configuration);

    // Empties the store of a name (a later get() finds it empty); 0, also when
    // there was no store.
    static TErrorCode cleanup(const wchar_t* name);

    // Sets a key; a repeated key takes the new value. 0, or -103 when memory
    // ran out (the store is then as it was).
    TErrorCode setProperty(const String& name, const String& value);

    // The value of a key, or null; valid until the key is set again or the
    // store is emptied.
    const wchar_t* getProperty(const wchar_t* name) const;

    Configuration(const Configuration&) = delete;
    Configuration& operator=(const Configuration&) = delete;
    ~Configuration();

private:
    Configuration();

    mutable std::mutex m_Mutex;
    std::vector<std::pair<String, String>> m_Properties;
};

} // namespace PluginSDK
