// Loading, initialising and releasing a plug-in module.
#include "eval/PluginModule.h"

#include "PluginKit/ResultCodeTable.h"
#include "eval/PluginCall.h"
#include "eval/TextConversion.h"

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corehost {

namespace {

// A cheap hash of the length and three characters: the registered names
// differ there, and the table is only a few dozen slots.
std::size_t nameHash(const std::wstring& name) {
    std::uint64_t h = name.size();
    if (!name.empty()) {
        h = h * 31 + static_cast<std::uint32_t>(name.front());
        h = h * 31 + static_cast<std::uint32_t>(name[name.size() / 2]);
        h = h * 31 + static_cast<std::uint32_t>(name.back());
    }
    return static_cast<std::size_t>((h * 0x9E3779B97F4A7C15ull) >> 40);
}

// Why the module at `file` cannot be loaded before dlopen is tried, or "": it
// must be a regular file. It is opened without blocking, so that a FIFO
// named there cannot hang the host (dlopen would wait on it for ever).
std::string refusal(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::strerror(errno);
    struct stat status {};
    const int result = ::fstat(fd, &status);
    const int error = errno;
    ::close(fd);
    if (result != 0)
        return std::strerror(error);
    return S_ISREG(status.st_mode) ? std::string() : std::string("not a regular file");
}

// The names differ from the registered ones, or come in another order.
std::string namesMismatch(const std::vector<std::wstring>& registered,
                          const std::vector<ExpressionDescription>& described) {
    for (std::size_t i = 0; i < registered.size() || i < described.size(); ++i) {
        const std::string name = i < registered.size() ? toUtf8(registered[i]) : std::string();
        if (i < described.size() && name == described[i].name)
            continue;
        if (i >= registered.size())
            return "it describes " + described[i].name + ", which the plug-in does not register";
        if (i >= described.size())
            return "it does not describe " + name + ", which the plug-in registers";
        return "it describes " + described[i].name + " where the plug-in registers " + name;
    }
    return std::string();
}

std::string versionText(const PluginSDK::PluginVersion& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.build) + "." + std::to_string(version.revision);
}

} // namespace

PluginModule::Handle::~Handle() {
    if (library)
        dlclose(library);
}

std::shared_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
    std::shared_ptr<PluginModule> module(new PluginModule());
    module->m_Path = path;
    if (path.empty()) {
        error = "cannot load a plug-in from an empty path";
        return nullptr;
    }
    // The value is always a path: without a slash dlopen would search the
    // library path (LD_LIBRARY_PATH, the cache) instead of the current directory.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    const std::string refused = refusal(file);
    if (!refused.empty()) {
        error = "cannot load the plug-in " + path + ": " + file + ": " + refused;
        return nullptr;
    }
    dlerror();
    module->m_Handle.library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module->m_Handle.library) {
        const char* reason = dlerror();
        error = "cannot load the plug-in " + path + ": " + (reason ? reason : "unknown error");
        return nullptr;
    }
    auto create = reinterpret_cast<PluginSDK::CreatePluginFunction>(
        dlsym(module->m_Handle.library, PluginSDK::kCreatePluginSymbol));
    module->m_Destroy = reinterpret_cast<PluginSDK::DestroyPluginFunction>(
        dlsym(module->m_Handle.library, PluginSDK::kDestroyPluginSymbol));
    if (!create || !module->m_Destroy) {
        error = "not a plug-in: " + path + " does not export " + PluginSDK::kCreatePluginSymbol +
                " and " + PluginSDK::kDestroyPluginSymbol;
        return nullptr;
    }
    module->m_Plugin = create();
    if (!module->m_Plugin) {
        error = "the plug-in " + path + " created no plug-in object";
        return nullptr;
    }
    PluginCall call(*module);
    const wchar_t* name = module->m_Plugin->getName();
    module->m_Name = toUtf8(name ? name : L"");
    module->m_InitializeCode = module->m_Plugin->initializePlugin();
    const std::vector<std::wstring>& names = module->names();
    std::size_t slots = 8;
    while (slots < 2 * names.size())
        slots *= 2;
    module->m_NameSlots.assign(slots, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (module->findName(names[i]))
            continue; // a repeated name: the first one is found
        std::size_t slot = nameHash(names[i]) & (slots - 1);
        while (module->m_NameSlots[slot] != 0)
            slot = (slot + 1) & (slots - 1);
        module->m_NameSlots[slot] = static_cast<std::uint32_t>(i + 1);
    }
    return module;
}

PluginModule::~PluginModule() {
    if (m_Plugin) {
        PluginCall call(*this);
        m_Plugin->cleanupPlugin();
        m_Destroy(m_Plugin);
    }
}

const char* PluginModule::codeMeaning(TErrorCode code) const {
    if (m_Description)
        return m_Description->codeMeaning(code);
    // Without a description, the codes every plug-in on the SDK shares
    // (success, the boundary's, the operators' protocol) are known still.
    static constexpr PluginKit::ResultCodeInfo kShared[] = {PLUGINKIT_SHARED_RESULT_CODE_ROWS};
    return PluginKit::describeCodeIn(kShared, code);
}

bool PluginModule::readDescription(std::string& error) {
    const std::string path = descriptionPathOf(m_Path);
    bool missing = false;
    std::shared_ptr<const PluginDescription> description =
        corehost::readDescription(path, missing, error);
    if (!description)
        return missing;
    const std::string version = versionText(m_Plugin->getVersion());
    std::string mismatch;
    if (description->plugin != m_Name)
        mismatch = "it describes the plug-in " + description->plugin;
    else if (description->version != version)
        mismatch =
            "it describes version " + description->version + " and the plug-in is " + version;
    else
        mismatch = namesMismatch(names(), description->expressions);
    if (!mismatch.empty()) {
        error = "the plug-in description " + path + " does not match " + m_Name + " (" + m_Path +
                "): " + mismatch;
        return false;
    }
    m_Description = std::move(description);
    return true;
}

const std::wstring* PluginModule::findName(const std::wstring& name) const {
    if (m_NameSlots.empty())
        return nullptr;
    const std::size_t mask = m_NameSlots.size() - 1;
    for (std::size_t slot = nameHash(name) & mask; m_NameSlots[slot] != 0;
         slot = (slot + 1) & mask) {
        const std::wstring& candidate = names()[m_NameSlots[slot] - 1];
        if (candidate == name)
            return &candidate;
    }
    return nullptr;
}

} // namespace corehost
