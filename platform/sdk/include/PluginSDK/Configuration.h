// Named configuration stores that the host keeps for its plug-ins.
#pragma once

#include "PluginSDK/String.h"

#include <utility>
#include <vector>

namespace PluginSDK {

class PLUGINSDK_API Configuration {
public:
    // The store of a name, created on first use; always 0 and a store for a
    // non-null name, -101 (and null) for a null name.
    static TErrorCode get(const wchar_t* name, Configuration*& configuration);

    // Drops the store of a name (a later get() starts an empty one); 0, also
    // when there was no store.
    static TErrorCode cleanup(const wchar_t* name);

    // Sets a key; a repeated key takes the new value. Always 0.
    TErrorCode setProperty(const String& name, const String& value);

    // The value of a key, or null.
    const wchar_t* getProperty(const wchar_t* name) const;

    Configuration(const Configuration&) = delete;
    Configuration& operator=(const Configuration&) = delete;
    ~Configuration();

private:
    Configuration();

    std::vector<std::pair<String, String>> m_Properties;
};

} // namespace PluginSDK
