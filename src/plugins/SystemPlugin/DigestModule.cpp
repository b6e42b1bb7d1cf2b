// Loads libSystemPluginDigest.so from the directory of the library this code
// is in.
#include "SystemPlugin/DigestModule.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SystemPlugin {

const SystemPluginDigestFunctions* DigestModule::functions(std::string& failure) {
    // Initialised once, thread-safely; destroyed at exit (the plug-in stays
    // loaded once loaded), which closes the module again.
    static const DigestModule module;
    if (!module.m_Functions)
        failure = module.m_Failure;
    return module.m_Functions;
}

#ifdef SYSTEMPLUGIN_DIGEST_LINKED

DigestModule::DigestModule() : m_Functions(systemPluginDigestFunctions()) {}

#else

namespace {

constexpr char kModuleName[] = "libSystemPluginDigest.so";

std::string loaderError() {
    const char* text = dlerror();
    return text ? text : "no reason given";
}

// The directory libSystemPlugin.so (the library holding this code) was loaded
// from, as the loader recorded it then: absolute even when the host gave a
// relative path and has changed its directory since. Empty on failure.
std::string ownDirectory(std::string& failure) {
    Dl_info self{};
    if (dladdr(reinterpret_cast<const void*>(&DigestModule::functions), &self) == 0 ||
        !self.dli_fname) {
        failure = "the digest module cannot be loaded: the plug-in's own path is unknown";
        return {};
    }
    // A loaded library is found by the name it was loaded with, whatever the
    // current directory now is.
    void* const library = dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    char origin[PATH_MAX] = "";
    const bool known = library && dlinfo(library, RTLD_DI_ORIGIN, origin) == 0;
    if (!known)
        failure = "the digest module cannot be loaded: the plug-in's own directory is unknown: " +
                  loaderError();
    if (library)
        dlclose(library);
    return known ? origin : std::string();
}

} // namespace

DigestModule::DigestModule() {
    const std::string directory = ownDirectory(m_Failure);
    if (directory.empty())
        return;
    const std::string path = directory + "/" + kModuleName;
    // The loader would open a FIFO planted there and wait for a writer: the
    // module is opened without blocking and must be a regular file; the
    // loader then loads that very file through its descriptor.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_Failure = "the digest module cannot be loaded: " + path +
                    (fd < 0 ? std::string(": ") + std::strerror(errno) : " is not a regular file");
        if (fd >= 0)
            ::close(fd);
        return;
    }
    const std::string opened = "/proc/self/fd/" + std::to_string(fd);
    m_Handle = dlopen(::access(opened.c_str(), F_OK) == 0 ? opened.c_str() : path.c_str(),
                      RTLD_NOW | RTLD_LOCAL);
    ::close(fd);
    if (!m_Handle) {
        m_Failure = "the digest module cannot be loaded: " + loaderError();
        return;
    }
    const auto entry =
        reinterpret_cast<SystemPluginDigestEntry>(dlsym(m_Handle, SYSTEMPLUGIN_DIGEST_ENTRY));
    const SystemPluginDigestFunctions* functions = entry ? entry() : nullptr;
    if (!functions || functions->version != SYSTEMPLUGIN_DIGEST_VERSION) {
        m_Failure = "the digest module " + path + " is not of this plug-in's version " +
                    std::to_string(SYSTEMPLUGIN_DIGEST_VERSION);
        return;
    }
    m_Functions = functions;
}

#endif

DigestModule::~DigestModule() {
    if (m_Handle)
        dlclose(m_Handle);
}

} // namespace SystemPlugin
