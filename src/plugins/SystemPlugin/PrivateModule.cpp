// Loads a module of the plug-in's own from the directory of the library this
// code is in.
#include "SystemPlugin/PrivateModule.h"

#include <climits>

#include <dlfcn.h>

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
    m_Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
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
