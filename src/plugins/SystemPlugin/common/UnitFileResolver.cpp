// Whether a unit is enabled, from its unit files alone. Failures travel as
// negative errno values, as systemd's own do, and become an Outcome at the end.
#include "SystemPlugin/common/UnitFileResolver.h"

#include "PluginKit/FileReader.h"
#include "SystemPlugin/common/RootedPath.h"
#include "SystemPlugin/common/UnitName.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SystemPlugin {

namespace {

// The most links followed from one name to its unit file, as systemctl allows.
constexpr unsigned kMaxFollowed = 64;
// A unit file or drop-in systemctl would block on (a FIFO it opens to read).
constexpr int kWouldBlock = -EWOULDBLOCK;

std::string_view baseName(std::string_view path) {
    return path.substr(path.rfind('/') + 1);
}

bool isMissing(int error) {
    return error == -ENOENT || error == -ENOTDIR;
}

// systemd's checks of an alias link `link` (the link's own path) to `target`.
int checkAlias(std::string_view link, std::string_view target) {
    const std::string_view source = baseName(link), destination = baseName(target);
    if (!UnitName::isValid(source) || !UnitName::typeMayAlias(source) ||
        (UnitName::formOf(source) != UnitName::Plain && !UnitName::typeMayTemplate(source)))
        return -EINVAL;
    if (source == destination)
        return -ELOOP;
    if (!UnitName::isValid(destination))
        return -EXDEV;
    const UnitName::Form from = UnitName::formOf(source), to = UnitName::formOf(destination);
    if (!(from == to || (from == UnitName::Instance && to == UnitName::Template)))
        return -EXDEV;
    if (to == UnitName::Instance &&
        UnitName::instanceOf(source) != UnitName::instanceOf(destination))
        return -EXDEV;
    return UnitName::type(source) == UnitName::type(destination) ? 0 : -EXDEV;
}

// Whether `name` is one of the names enabling `info` would create links under.
template <typename Info> bool knownName(const Info& info, std::string_view name) {
    const auto& aliases = info.rules.aliases;
    if (name == info.name || std::find(aliases.begin(), aliases.end(), name) != aliases.end())
        return true;
    return !info.rules.defaultInstance.empty() &&
           UnitName::isValid(info.name, UnitName::Template) &&
           UnitName::withInstance(info.name, info.rules.defaultInstance) == name;
}

const std::vector<UnitDirectoryCache::Entry> kNone;

} // namespace

UnitFileResolver::UnitFileResolver(std::string_view root, UnitDirectoryCache& cache)
    : m_Paths(root), m_Cache(cache) {}

int UnitFileResolver::fail(int error, std::string reason) {
    m_Reason = std::move(reason);
    return error;
}

std::shared_ptr<const UnitDirectoryCache::Listing>
UnitFileResolver::listing(const std::string& path, int& error) {
    // Each directory is examined once per question, however often it is walked.
    auto seen = m_Seen.find(path);
    if (seen == m_Seen.end()) {
        int got = 0;
        auto listing = m_Cache.listing(path, got);
        seen = m_Seen.emplace(path, std::make_pair(std::move(listing), got)).first;
    }
    error = seen->second.second;
    return seen->second.first;
}

UnitFileResolver::Info& UnitFileResolver::add(const std::string& name) {
    for (Info& info : m_Infos)
        if (info.name == name)
            return info;
    m_Infos.emplace_back();
    m_Infos.back().name = name;
    return m_Infos.back();
}

UnitFileResolver::Outcome UnitFileResolver::outcomeOf(int error, std::string& reason) const {
    reason = m_Reason.empty() ? "error " + std::to_string(-error) : m_Reason;
    if (error == -ENOENT || error == -ENOLINK)
        return Outcome::Missing;
    if (error == -EACCES || error == -EPERM || error == -EIO)
        return Outcome::Unreadable;
    return error == -EFBIG ? Outcome::OverLimit : Outcome::Refused;
}

UnitFileResolver::Outcome UnitFileResolver::state(const std::string& name, std::string& state,
                                                  std::string& reason) {
    // For a service, systemctl first asks whether a unit file exists outside the
    // generators' directories, without reading it: when none does, an init
    // script of the name takes over.
    if (UnitName::type(name) == "service") {
        m_Load = false;
        const int r = lookUp(name);
        if (r == -ENOENT &&
            ::access((m_Paths.root() + "/etc/init.d/" + std::string(UnitName::withoutSuffix(name)))
                         .c_str(),
                     F_OK) == 0) {
            reason = "no unit file, but an init script";
            return Outcome::SysV;
        }
        if (r < 0 && r != -ENOENT && r != -ELOOP)
            return outcomeOf(r, reason);
    }
    m_Load = true;
    const int r = lookUp(name);
    if (r < 0)
        return outcomeOf(r, reason);
    const Info& info = m_Infos[static_cast<std::size_t>(r)];
    if (info.mode == Mode::Masked) {
        state = m_Paths.isRuntime(info.path) ? "masked-runtime" : "masked";
        return Outcome::State;
    }
    int found = 0;
    if (name != baseName(info.path) && !UnitName::isValid(info.name, UnitName::Instance))
        state = "alias";
    else if (m_Paths.isGenerated(info.path))
        state = "generated";
    else if (m_Paths.isTransient(info.path))
        state = "transient";
    else if ((found = findInScope(info, true, state)) == 0 &&
             (found = findInScope(info, false, state)) >= 0)
        state = found > 0                  ? "indirect"
                : info.rules.hasRules()    ? "disabled"
                : !info.rules.also.empty() ? "indirect"
                                           : "static";
    return found < 0 ? outcomeOf(found, reason) : Outcome::State;
}

int UnitFileResolver::lookUp(const std::string& name) {
    m_Infos.clear();
    m_Reason.clear();
    Info* info = &add(name);
    const int r = traverse(info);
    return r < 0 ? r : static_cast<int>(info - &m_Infos.front());
}

int UnitFileResolver::traverse(Info*& info) {
    int r = search(*info);
    for (unsigned followed = 0;
         r >= 0 && (info->mode == Mode::Alias || info->mode == Mode::Linked);) {
        if (++followed > kMaxFollowed)
            return fail(-ELOOP, "too many links");
        // Without reading, links in the configuration directories are not followed.
        if (!m_Load && m_Paths.isConfiguration(UnitSearchPath::parentOf(info->path)))
            return fail(-ELOOP, "a link in a configuration directory");
        r = follow(*info, info->mode == Mode::Linked);
        if (r != -EXDEV)
            continue;
        // The alias names another unit: search for that name anew.
        std::string next(baseName(info->target));
        if (UnitName::isValid(info->name, UnitName::Instance) &&
            UnitName::isValid(next, UnitName::Template)) {
            next = UnitName::withInstance(next, UnitName::instanceOf(info->name));
            if (next == info->name) {
                r = follow(*info, true);
                continue;
            }
        }
        info = &add(next);
        r = search(*info);
        if (r == -ENOENT)
            r = fail(-ENOLINK, "an alias whose target does not exist: " + next);
    }
    return r;
}

int UnitFileResolver::follow(Info& info, bool ignoreDifferentName) {
    if (!ignoreDifferentName && baseName(info.target) != info.name)
        return -EXDEV;
    info.path = info.target;
    info.mode = Mode::Unknown;
    return loadOrReadLink(info, info.path);
}

int UnitFileResolver::search(Info& info) {
    if (info.mode != Mode::Unknown)
        return 0;
    if (!info.path.empty())
        return loadOrReadLink(info, info.path);
    const bool instance = UnitName::isValid(info.name, UnitName::Instance);
    for (const std::string& name : {info.name, instance ? UnitName::templateOf(info.name) : ""}) {
        for (const std::string& directory : m_Paths.directories()) {
            if (name.empty())
                break;
            if (!m_Load && m_Paths.isGenerator(directory))
                continue;
            const std::string path = directory + "/" + name;
            const int r = loadOrReadLink(info, path);
            if (r >= 0) {
                info.path = path;
                return info.mode == Mode::Masked || !m_Load ? r : loadDropins(info);
            }
            if (!isMissing(r))
                return r;
        }
    }
    return fail(-ENOENT, "no unit file " + info.name);
}

int UnitFileResolver::loadOrReadLink(Info& info, const std::string& path) {
    if (UnitName::formOf(info.name) != UnitName::Plain && !UnitName::typeMayTemplate(info.name))
        return fail(-EINVAL, "a unit type that cannot be a template: " + info.name);
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return isMissing(-errno) ? -errno : fail(-errno, "cannot examine " + path);
    if (S_ISLNK(status.st_mode))
        return readLinkMode(info, path);
    if (S_ISCHR(status.st_mode) || (S_ISREG(status.st_mode) && status.st_size == 0)) {
        info.mode = Mode::Masked;
        return 0;
    }
    if (!m_Load && !S_ISREG(status.st_mode))
        return fail(S_ISDIR(status.st_mode) ? -EISDIR : -ENOTTY, "not a regular file: " + path);
    if (S_ISFIFO(status.st_mode))
        return fail(kWouldBlock, "a FIFO, which systemctl would wait on for ever: " + path);
    if (!S_ISREG(status.st_mode))
        return fail(-EBADFD, "not a regular file: " + path);
    const int r = m_Load ? parse(info, path) : 0;
    if (r >= 0)
        info.mode = Mode::Regular;
    return r;
}

int UnitFileResolver::readLinkMode(Info& info, const std::string& path) {
    std::string target;
    if (const int error = RootedPath::readLink(AT_FDCWD, path.c_str(), target))
        return fail(-error, "cannot read the link " + path);
    const std::string& root = m_Paths.root();
    target = !target.empty() && target.front() == '/'
                 ? root + target
                 : std::string(UnitSearchPath::parentOf(path)) + "/" + target;
    std::string simplified;
    if (const int error = RootedPath::resolve(root, target, RootedPath::AllowMissing, simplified))
        return fail(-error, "cannot resolve the link " + path);
    const bool alias = !m_Paths.directoryHolding(simplified, m_Load).empty();
    if (alias) {
        if (const int r = checkAlias(path, simplified))
            return fail(r, "an alias systemd refuses: " + path + " -> " + simplified);
    }
    // A link to /dev/null masks the unit where the link is. On the running
    // system (root "/") so does a link to an empty file or a device; below
    // another root systemd does not look at the target here, and the unit is
    // masked where the followed link ends.
    bool masked = simplified.substr(root.size()) == "/dev/null";
    std::string resolved;
    const int error = masked || !root.empty()
                          ? 0
                          : RootedPath::resolve(root, simplified, RootedPath::FollowLast, resolved);
    struct stat status {};
    if (error != 0 && error != ENOENT)
        return fail(-error, "cannot resolve the link " + path);
    if (!masked && root.empty() && error == 0 && ::stat(resolved.c_str(), &status) == 0)
        masked = S_ISCHR(status.st_mode) || (S_ISREG(status.st_mode) && status.st_size == 0);
    info.target = simplified;
    info.mode = masked ? Mode::Masked : alias ? Mode::Alias : Mode::Linked;
    return 0;
}

int UnitFileResolver::parse(Info& info, const std::string& path) {
    std::string text;
    const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(path, text);
    if (outcome.error == PluginKit::FileError::OverLimit)
        return fail(-EFBIG, "a unit file over the text limit: " + path);
    if (!outcome.ok())
        return fail(outcome.systemError ? -outcome.systemError : -EIO, "cannot read " + path);
    std::string why;
    if (!UnitInstallSection::read(text, info.name, info.rules, why))
        return fail(-EBADMSG, path + ": " + why);
    return 0;
}

int UnitFileResolver::loadDropins(Info& info) {
    std::vector<std::string> names{info.name + ".d"};
    if (UnitName::isValid(info.name, UnitName::Instance))
        names.push_back(UnitName::templateOf(info.name) + ".d");
    // The first file of each name wins; they are read sorted by name.
    std::map<std::string, std::string> files;
    for (const std::string& name : names) {
        for (const std::string& directory : m_Paths.directories()) {
            const std::string path = directory + "/" + name;
            int error = 0;
            const auto found = listing(path, error);
            if (!found && error != ENOENT && error != ENOTDIR)
                return fail(-error, "cannot list " + path);
            for (const UnitDirectoryCache::Entry& entry : found ? found->entries : kNone)
                if (entry.name.size() > 5 &&
                    entry.name.compare(entry.name.size() - 5, 5, ".conf") == 0)
                    files.emplace(entry.name, path + "/" + entry.name);
        }
    }
    for (const auto& file : files)
        if (const int r = loadDropin(info, file.second); r < 0)
            return r == -EACCES || r == -EPERM || r == -EIO || r == -EFBIG || r == kWouldBlock
                       ? r
                       : fail(-EBADMSG, "a drop-in systemctl fails on: " + m_Reason);
    return 0;
}

int UnitFileResolver::loadDropin(Info& info, const std::string& path) {
    std::string resolved;
    if (const int error =
            RootedPath::resolve(m_Paths.root(), path, RootedPath::FollowLast, resolved))
        return fail(-error, "cannot resolve " + path);
    struct stat status {};
    if (::lstat(resolved.c_str(), &status) != 0)
        return fail(-errno, "cannot examine " + resolved);
    if (S_ISCHR(status.st_mode) || (S_ISREG(status.st_mode) && status.st_size == 0))
        return 0;
    if (S_ISFIFO(status.st_mode))
        return fail(kWouldBlock, "a FIFO, which systemctl would wait on for ever: " + resolved);
    if (!S_ISREG(status.st_mode))
        return fail(-EBADFD, "not a regular file: " + resolved);
    return parse(info, resolved);
}

int UnitFileResolver::findInScope(const Info& info, bool matchName, std::string& state) {
    bool sameNameRuntime = false, sameNameConfig = false;
    bool enabledRuntime = false, enabledAtAll = false, ignoreSameName = false;
    for (const std::string& directory : m_Paths.directories()) {
        bool sameNameLink = false;
        const int r = findLinks(info, matchName, ignoreSameName, directory, sameNameLink);
        if (r < 0)
            return r;
        const bool config = directory == m_Paths.persistentConfig();
        if (r > 0 && config) {
            state = "enabled";
            return 1;
        }
        if (r > 0)
            (m_Paths.isRuntime(directory) ? enabledRuntime : enabledAtAll) = true;
        else if (sameNameLink && config)
            sameNameConfig = true;
        else if (sameNameLink && m_Paths.isRuntime(directory))
            sameNameRuntime = true;
        // Same-name links below the unit file's own directory are hidden by it.
        ignoreSameName = ignoreSameName || UnitSearchPath::isBelow(info.path, directory);
    }
    if (enabledRuntime)
        state = "enabled-runtime";
    else if (enabledAtAll && UnitName::isValid(info.name, UnitName::Instance))
        state = "static";
    else if (sameNameConfig)
        state = "linked";
    else if (sameNameRuntime)
        state = "linked-runtime";
    else
        return 0;
    return 1;
}

int UnitFileResolver::findLinks(const Info& info, bool matchName, bool ignoreSameName,
                                const std::string& directory, bool& sameNameLink) {
    int error = 0;
    const auto found = listing(directory, error);
    if (!found)
        return isMissing(-error) ? 0 : fail(-error, "cannot list " + directory);
    // Links in .wants and .requires directories count by their own names.
    for (const UnitDirectoryCache::Entry& entry : found->entries) {
        const std::size_t dot = entry.name.rfind('.');
        const std::string_view suffix =
            dot == std::string::npos ? "" : std::string_view(entry.name).substr(dot);
        if (entry.type != DT_DIR || (suffix != ".wants" && suffix != ".requires"))
            continue;
        const auto links = listing(directory + "/" + entry.name, error);
        // systemctl passes over a directory it cannot list, as root it can list them all.
        if (!links && (error == EACCES || error == EPERM))
            return fail(-error, "cannot list " + directory + "/" + entry.name);
        if (links && findLinksIn(*links, directory + "/" + entry.name, info, true, matchName,
                                 ignoreSameName, directory, sameNameLink) > 0)
            return 1;
    }
    return findLinksIn(*found, directory, info, false, matchName, ignoreSameName, directory,
                       sameNameLink);
}

int UnitFileResolver::findLinksIn(const UnitDirectoryCache::Listing& listing,
                                  const std::string& path, const Info& info, bool ignoreDestination,
                                  bool matchName, bool ignoreSameName,
                                  const std::string& configPath, bool& sameNameLink) {
    int r = 0;
    for (const UnitDirectoryCache::Entry& entry : listing.entries) {
        if (entry.type != DT_LNK)
            continue;
        const std::string& name = entry.name;
        bool foundPath = false, foundDestination = false;
        if (!ignoreDestination) {
            if (entry.linkError != 0) {
                r = r == 0 && entry.linkError != ENOENT ? -entry.linkError : r;
                continue;
            }
            foundDestination = baseName(entry.target) == info.name;
        }
        if (ignoreDestination || !ignoreSameName)
            foundPath = name == info.name;
        if (!foundPath && ignoreDestination && UnitName::isValid(name, UnitName::Instance))
            foundDestination = UnitName::templateOf(name) == info.name;
        if (foundPath && foundDestination && path + "/" + name == configPath + "/" + info.name) {
            sameNameLink = true;
            continue;
        }
        if ((foundPath || foundDestination) && (!matchName || knownName(info, name)))
            return 1;
    }
    return r;
}

} // namespace SystemPlugin
