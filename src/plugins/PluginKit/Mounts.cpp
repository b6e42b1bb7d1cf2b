// The mount table as the plug-ins' probes use it.
#include "PluginKit/Mounts.h"

#include "base/ScanRoot.h"
#include "base/Utf8.h"

#include <cerrno>
#include <cwchar>
#include <new>

namespace PluginKit {

namespace {

TErrorCode codeOf(long rc) {
    if (rc == 0)
        return 0;
    return rc == -ENOMEM ? Mounts::kInternalFailure : Mounts::kNoMountTable;
}

} // namespace

Mounts::Mounts() = default;

Mounts::Mounts(const char* mountinfoPath) : m_List(mountinfoPath) {}

Mounts& Mounts::ofProcess() {
    static Mounts mounts;
    static const long first = mounts.initialize();
    static_cast<void>(first);
    return mounts;
}

TErrorCode Mounts::initialize() {
    return codeOf(m_List.Initialize());
}

template <typename Path>
TErrorCode Mounts::findIn(const Path& path, base::MountAnswer& mount) const {
    try {
        const int rc = m_List.find(path, mount);
        return rc == 1 ? kNotOnAnyMount : codeOf(rc);
    } catch (const std::bad_alloc&) {
        return kInternalFailure;
    }
}

TErrorCode Mounts::find(const std::string& path, base::MountAnswer& mount) const {
    return findIn(path, mount);
}

TErrorCode Mounts::find(const wchar_t* path, base::MountAnswer& mount) const {
    return findIn(path, mount);
}

TErrorCode Mounts::list(std::vector<base::MountAnswer>& mounts) const {
    try {
        return codeOf(m_List.mounts(mounts));
    } catch (const std::bad_alloc&) {
        return kInternalFailure;
    }
}

// The path whose mount decides: in a scanned image, the host's path of the
// image's file (the image's own mount table, if it has one, is not this
// process's); a wide path without a UTF-8 form is on no mount.
namespace {

std::string pathOnHost(const std::string& path) {
    return base::ScanRoot::hostPath(path);
}

std::string pathOnHost(const wchar_t* path) {
    std::string narrow;
    if (!path || !base::encodeUtf8(path, std::wcslen(path), narrow, false))
        return std::string();
    return base::ScanRoot::hostPath(narrow);
}

} // namespace

template <typename Path> TErrorCode Mounts::checkIn(const Path& path, bool networkAllowed) const {
    if (networkAllowed)
        return 0;
    base::MountAnswer mount;
    const TErrorCode rc =
        base::ScanRoot::active() ? findIn(pathOnHost(path), mount) : findIn(path, mount);
    if (rc == kNotOnAnyMount)
        return 0;
    if (rc != 0)
        return rc;
    return base::MountTable::isNetworkType(mount.type) ? kOnNetwork : 0;
}

TErrorCode Mounts::checkNetwork(const std::string& path, bool networkAllowed) const {
    return checkIn(path, networkAllowed);
}

TErrorCode Mounts::checkNetwork(const wchar_t* path, bool networkAllowed) const {
    return checkIn(path, networkAllowed);
}

TErrorCode checkNetworkPath(const std::string& path, bool networkAllowed) {
    return Mounts::ofProcess().checkNetwork(path, networkAllowed);
}

TErrorCode checkNetworkPath(const wchar_t* path, bool networkAllowed) {
    return Mounts::ofProcess().checkNetwork(path, networkAllowed);
}

} // namespace PluginKit
