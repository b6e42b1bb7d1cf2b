// A plug-in module loaded with dlopen: the module handle, the plug-in object it
// creates and its registered expression names, released in the right order.
#pragma once

#include "PluginSDK/Plugin.h"
#include "eval/PluginDescription.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corehost {

class PluginModule {
public:
    // Loads the module at `path` (a name without a slash is the file in the
    // current directory, never one found through the library search path; it
    // must be a regular file, opened without blocking first so that a FIFO
    // cannot hang the host), creates the plug-in through createPlugin and
    // initialises it. Null with a message in `error` when any step fails; a
    // non-zero result of initializePlugin is kept (initializeCode), not refused.
    static std::shared_ptr<PluginModule> load(const std::string& path, std::string& error);

    // Cleans the plug-in up, destroys it and closes the module. Every expression
    // made by the plug-in must be destroyed before (ExpressionTree holds the
    // module alive for that reason).
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    PluginSDK::Plugin& plugin() { return *m_Plugin; }
    const std::string& path() const { return m_Path; }
    TErrorCode initializeCode() const { return m_InitializeCode; }

    // The registered expression names, in registration order.
    const std::vector<std::wstring>& names() const { return m_Plugin->getExpressionNames(); }

    // The registered name equal to `name`, or null when the plug-in did not
    // register it. The pointer stays valid while the module lives.
    const std::wstring* findName(const std::wstring& name) const;

    // What the plug-in calls itself (UTF-8).
    const std::string& name() const { return m_Name; }

    // The plug-in's description, or null when it ships none.
    const PluginDescription* description() const { return m_Description.get(); }
    // The meaning of `code` in the plug-in's description; without one, only
    // the codes every plug-in on the SDK shares have a meaning ("unknown
    // code" for the others).
    const char* codeMeaning(TErrorCode code) const;

    // Reads the description beside the module (descriptionPathOf) and holds
    // it to the plug-in: its name, version and registered names in order.
    // True without one; false with `error` naming the file when it cannot be
    // read, is malformed or describes another plug-in.
    bool readDescription(std::string& error);

private:
    struct Handle {
        void* library = nullptr;
        ~Handle();
    };

    PluginModule() = default;

    std::string m_Path;
    std::string m_Name;
    std::shared_ptr<const PluginDescription> m_Description;
    Handle m_Handle; // declared first among the owners: closed last
    PluginSDK::DestroyPluginFunction m_Destroy = nullptr;
    PluginSDK::Plugin* m_Plugin = nullptr;
    TErrorCode m_InitializeCode = 0;
    // Open-addressing table of the names: 1 + the name's position, or 0 for
    // an empty slot; its size is a power of two at least twice the names.
    std::vector<std::uint32_t> m_NameSlots;
};

} // namespace corehost
