// The state of one plug-in instance that expressions need.
#include "SystemPlugin/PluginContext.h"

#include "PluginSDK/String.h"

#include <cwchar>
#include <memory>

namespace SystemPlugin {

namespace {

std::string toUtf8(const wchar_t* text) {
    std::unique_ptr<char, decltype(&brel_free)> bytes(PluginSDK::String::getMultibyteString(text),
                                                      &brel_free);
    if (!bytes)
        throw std::bad_alloc();
    return std::string(bytes.get());
}

} // namespace

PluginContext::PluginContext()
    : m_DpkgAdminDir(kDefaultDpkgAdminDir), m_SshConfigDir(kDefaultSshConfigDir),
      m_UnitRoot(kDefaultUnitRoot) {}

PluginContext::~PluginContext() = default;

bool PluginContext::setProperty(const wchar_t* name, const wchar_t* value) {
    if (!name)
        return false;
    std::string* target = nullptr;
    const char* fallback = nullptr;
    if (std::wcscmp(name, kDpkgAdminDirName) == 0) {
        target = &m_DpkgAdminDir;
        fallback = kDefaultDpkgAdminDir;
    } else if (std::wcscmp(name, kSshConfigDirName) == 0) {
        target = &m_SshConfigDir;
        fallback = kDefaultSshConfigDir;
    } else if (std::wcscmp(name, kUnitRootName) == 0) {
        target = &m_UnitRoot;
        fallback = kDefaultUnitRoot;
    } else {
        return false;
    }
    std::string text = value ? toUtf8(value) : std::string(fallback);
    std::lock_guard<std::mutex> lock(m_Mutex);
    target->swap(text);
    return true;
}

std::string PluginContext::dpkgAdminDir() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_DpkgAdminDir;
}

std::string PluginContext::sshConfigDir() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_SshConfigDir;
}

std::string PluginContext::unitRoot() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_UnitRoot;
}

PackageCache::Outcome
PluginContext::packageDatabase(std::shared_ptr<const PackageDatabase>& database) {
    const std::string adminDir = dpkgAdminDir();
    // An empty setting names no database (not /status): a scan of an image whose path
    // came out empty must not read the host's packages, nor any others.
    if (adminDir.empty()) {
        database.reset();
        return PackageCache::Outcome::Unreadable;
    }
    return m_Packages.get(adminDir, database);
}

} // namespace SystemPlugin
