// Loads a module of the plug-in's own from the directory of the library this
// code is in.
#include "SystemPlugin/PrivateModule.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SystemPlugin {

namespace {

std::string loaderError() {
    const char* text = dlerror();
    return text ? text : "no reason given";
}

// The directory libSystemPlugin.so (the library holding this code) was loaded
// from, as the loader recorded it then: absolute even when the host gave a
// relative path and has changed its directory since. Empty on failure.
std::string ownDirectory(std::string& failure) {
    Dl_info self{};
    if (dladdr(reinterpret_cast<const void*>(&ownDirectory), &self) == 0 || !self.dli_fname) {
        failure = "the plug-in's own path is unknown";
        return {};
    }
    // A loaded library is found by the name it was loaded with, whatever the
    // current directory now is.
    void* const library = dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    char origin[PATH_MAX] = "";
    const bool known = library && dlinfo(library, RTLD_DI_ORIGIN, origin) == 0;
    if (!known)
        failure = "the plug-in's own directory is unknown: " + loaderError();
    if (library)
        dlclose(library);
    return known ? origin : std::string();
}

} // namespace

PrivateModule::PrivateModule(const char* fileName, const char* entry) {
    const std::string directory = ownDirectory(m_Failure);
    if (directory.empty()) {
        m_Failure = std::string(fileName) + " cannot be loaded: " + m_Failure;
        return;
    }
    const std::string path = directory + "/" + fileName;
    // The loader would open a FIFO planted there and wait for a writer: the
    // module is opened without blocking and must be a regular file; the
    // loader then loads that very file through its descriptor.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_Failure = std::string(fileName) + " cannot be loaded: " + path +
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
        m_Failure = std::string(fileName) + " cannot be loaded: " + loaderError();
        return;
    }
    using Entry = const void* (*)();
    const auto function = reinterpret_cast<Entry>(dlsym(m_Handle, entry));
    m_Table = function ? function() : nullptr;
    if (!m_Table)
        m_Failure = path + " has no " + entry;
}

PrivateModule::~PrivateModule() {
    if (m_Handle)
        dlclose(m_Handle);
}

} // namespace SystemPlugin
