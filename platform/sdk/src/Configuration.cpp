// Named configuration stores.
#include "PluginSDK/Configuration.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace PluginSDK {

namespace {

struct Registry {
    std::mutex mutex;
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
        return -101;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto& store = r.stores[name];
    if (!store)
        store.reset(new Configuration());
    configuration = store.get();
    return 0;
}

TErrorCode Configuration::cleanup(const wchar_t* name) {
    if (!name)
        return 0;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.stores.erase(name);
    return 0;
}

TErrorCode Configuration::setProperty(const String& name, const String& value) {
    for (auto& entry : m_Properties) {
        if (entry.first == name) {
            entry.second = value;
            return 0;
        }
    }
    m_Properties.emplace_back(name, value);
    return 0;
}

const wchar_t* Configuration::getProperty(const wchar_t* name) const {
    for (const auto& entry : m_Properties)
        if (entry.first == name)
            return entry.second;
    return nullptr;
}

} // namespace PluginSDK
