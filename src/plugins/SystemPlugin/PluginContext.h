// The state of one plug-in instance that expressions need: its plug-in
// properties (and, as they are added, the caches shared by its expressions).
// The factory hands it to the expressions made with makeWithContext; it
// outlives every expression of the instance.
#pragma once

#include "SystemPlugin/common/PackageCache.h"
#include "SystemPlugin/common/UnitDirectoryCache.h"

#include <memory>
#include <mutex>
#include <string>

namespace SystemPlugin {

class PluginContext {
public:
    static constexpr const wchar_t* kDpkgAdminDirName = L"dpkgAdminDir";
    static constexpr const wchar_t* kSshConfigDirName = L"sshConfigDir";
    static constexpr const char* kDefaultDpkgAdminDir = "/var/lib/dpkg";
    static constexpr const char* kDefaultSshConfigDir = "/etc/ssh";
    static constexpr const wchar_t* kUnitRootName = L"unitRoot";
    static constexpr const char* kDefaultUnitRoot = "/";

    PluginContext();
    ~PluginContext();
    PluginContext(const PluginContext&) = delete;
    PluginContext& operator=(const PluginContext&) = delete;

    // Stores a plug-in property; false for a name the plug-in does not have
    // (nothing is stored). A null value restores the default.
    bool setProperty(const wchar_t* name, const wchar_t* value);

    // The directories as UTF-8 paths; safe to call from any thread.
    std::string dpkgAdminDir() const;
    std::string sshConfigDir() const;
    // The directory that stands for "/" where unit files are looked up.
    std::string unitRoot() const;

    // The package database under "dpkgAdminDir", read at the first call and again only when
    // dpkg changed it (Unreadable when the setting is empty); safe to call from any thread.
    PackageCache::Outcome packageDatabase(std::shared_ptr<const PackageDatabase>& database);

    // The listings of unit directories UnitFileState keeps between questions.
    UnitDirectoryCache& unitDirectories() { return m_UnitDirectories; }

private:
    mutable std::mutex m_Mutex;
    std::string m_DpkgAdminDir;
    std::string m_SshConfigDir;
    std::string m_UnitRoot;
    PackageCache m_Packages;
    UnitDirectoryCache m_UnitDirectories;
};

} // namespace SystemPlugin
