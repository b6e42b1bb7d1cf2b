// Named configuration stores.
#include "PluginSDK/Configuration.h"

#include <exception>
#include <map>
#include <memory>
#include <new>
#include <string>

namespace PluginSDK {

namespace {

constexpr TErrorCode kInvalidArgument = -101;
constexpr TErrorCode kOutOfMemory = -103;

struct Registry {
    std::mutex mutex;
    // Stores are never removed: plug-in instances that share a name hold the
    // same store, and one instance's cleanup must not free it under another.
    std::map<std::wstring, std::unique_ptr<Configuration>> stores;
};

// Never destroyed: hosts clean their plug-ins up from their own static
// destructors too, which may run after the statics of this library are gone.
Registry& registry() {
    static Registry* instance = new Registry();
    return *instance;
}

} // namespace

Configuration::Configuration() = default;
Configuration::~Configuration() = default;

TErrorCode Configuration::get(const wchar_t* name, Configuration*& configuration) {
    configuration = nullptr;
    if (!name)
        return kInvalidArgument;
    try {
        Registry& r = registry();
        std::lock_guard<std::mutex> lock(r.mutex);
        auto& store = r.stores[name];
        if (!store)
            store.reset(new Configuration());
        configuration = store.get();
        return 0;
    } catch (const std::exception&) {
        return kOutOfMemory;
    }
}

TErrorCode Configuration::cleanup(const wchar_t* name) {
    if (!name)
        return 0;
    Configuration* store = nullptr;
    {
        Registry& r = registry();
        std::lock_guard<std::mutex> lock(r.mutex);
        // A lookup by a temporary key could throw: compare in place instead.
        for (auto& entry : r.stores)
            if (entry.first == name)
                store = entry.second.get();
    }
    if (store) {
        std::lock_guard<std::mutex> lock(store->m_Mutex);
        std::vector<std::pair<String, String>>().swap(store->m_Properties);
    }
    return 0;
}

TErrorCode Configuration::setProperty(const String& name, const String& value) {
    try {
        std::lock_guard<std::mutex> lock(m_Mutex);
        for (auto& entry : m_Properties) {
            if (entry.first == name) {
                entry.second = value;
                return 0;
            }
        }
        m_Properties.emplace_back(name, value);
        return 0;
    } catch (const std::exception&) {
        return kOutOfMemory;
    }
}

const wchar_t* Configuration::getProperty(const wchar_t* name) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    for (const auto& entry : m_Properties)
        if (entry.first == name)
            return entry.second;
    return nullptr;
}

} // namespace PluginSDK
