// A module of the plug-in's own, such as libSystemPluginDigest.so, loaded on
// its first use from the directory libSystemPlugin.so was loaded from rather
// than with the plug-in: each links a library whose loading would cost every
// run more than the rest of the plug-in. A module exports one function that
// takes nothing and gives its table of plain C functions.
#pragma once

#include <string>

namespace SystemPlugin {

class PrivateModule {
public:
    // Loads `fileName` beside the plug-in and calls its export `entry`.
    PrivateModule(const char* fileName, const char* entry);
    ~PrivateModule();
    PrivateModule(const PrivateModule&) = delete;
    PrivateModule& operator=(const PrivateModule&) = delete;

    // Whether the file was loaded (its table may still be missing).
    bool loaded() const { return m_Handle != nullptr; }
    // The module's table, or null when it could not be loaded (`failure` says why).
    const void* table() const { return m_Table; }
    const std::string& failure() const { return m_Failure; }

private:
    void* m_Handle = nullptr;
    const void* m_Table = nullptr;
    std::string m_Failure;
};

// The table of `module` when it is of `version` (the table's first member), else
// null with the reason in `failure`; `what` names the module in the reason.
template <typename Functions>
const Functions* checkedTable(const PrivateModule& module, unsigned version, const char* what,
                              std::string& failure) {
    const auto* functions = static_cast<const Functions*>(module.table());
    if (!module.loaded())
        failure = std::string(what) + " cannot be loaded: " + module.failure();
    else if (!functions || functions->version != version)
        failure =
            std::string(what) + " is not of this plug-in's version " + std::to_string(version);
    else
        return functions;
    return nullptr;
}

} // namespace SystemPlugin
