// A walk of file trees by directory descriptor, for searches: every directory
// is opened relative to its parent's descriptor with O_DIRECTORY|O_NOFOLLOW,
// so no link below a root is followed and a tree renamed or relinked during
// the walk cannot lead it elsewhere. It stays on the root's file system unless
// told to cross devices, and never enters a network, FUSE or pseudo file
// system (procfs, sysfs, devtmpfs, cgroup, ...) below a root. Memory grows
// with the depth of the tree (the subdirectories still to enter on the way
// down), not with its size; open descriptors stay bounded at any depth (a
// closed ancestor is opened again through "..", and must be the same).
#pragma once

#include "PluginKit/FileOutcome.h"
#include "base/MountTable.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace SystemPlugin {

class TreeWalk {
public:
    static constexpr std::size_t kUnlimited = SIZE_MAX;
    // The most entries one walker reads over all its roots.
    static constexpr std::size_t kMaxEntries = 10000000;

    struct Options {
        std::size_t maxDepth = kUnlimited; // 0: the roots alone
        bool crossDevices = false;         // enter other (local) file systems
        bool network = false;              // network and FUSE file systems too
        std::size_t maxEntries = kMaxEntries;
    };

    // What the visitor wants after an entry.
    enum class Step { Descend, Skip, Stop };

    // One entry: its path (the root as given, then joined with '/'), where
    // its name starts in the path, its status (`lstat`; a root's `stat`, so a
    // root that is a link is followed) and its depth (0 for a root).
    struct Entry {
        const std::string& path;
        std::size_t nameStart;
        const struct stat& status;
        std::size_t depth;
    };
    using Visitor = std::function<Step(const Entry&)>;

    // How a walk ended.
    enum class End { Done, Stopped, Failed };

    // Why a walk failed, and where.
    struct Failure {
        PluginKit::FileOutcome outcome;
        std::string path;
        const char* reason = "";
    };

    // `mounts`: the process's mount table, which tells which mount points
    // are network or pseudo file systems without touching them.
    TreeWalk(const Options& options, const std::vector<base::MountAnswer>& mounts);
    ~TreeWalk();
    TreeWalk(const TreeWalk&) = delete;
    TreeWalk& operator=(const TreeWalk&) = delete;

    // Visits `root` and, unless it is not a directory, the visitor skips it or
    // the depth is 0, everything below it. Failed: the root does not exist
    // (Missing), a directory cannot be opened, read or searched (Unreadable),
    // the entries exceed the limit (OverLimit), or a directory changed while it
    // was walked (Unreadable). An entry that vanishes during the walk is
    // passed over.
    End walk(const std::string& root, const Visitor& visit);

    const Failure& failure() const { return m_Failure; }

private:
    struct StreamClose {
        void operator()(DIR* stream) const { ::closedir(stream); }
    };
    using Stream = std::unique_ptr<DIR, StreamClose>;
    struct Pending {
        std::string name;
        dev_t device;
        ino_t inode;
        bool crossing; // on another file system than its parent
    };
    struct Frame {
        Stream stream; // null while closed to save descriptors
        std::size_t pathLength;
        dev_t device;
        ino_t inode;
        std::size_t depth;
        std::vector<Pending> pending; // subdirectories still to enter
    };

    End fail(PluginKit::FileOutcome outcome, const std::string& path, const char* reason);
    End scan(Frame& frame, const Visitor& visit);
    End enter(Frame& parent, Pending next, const Visitor& visit);
    End leave();
    bool mayEnterMount(const std::string& path) const;
    void limitOpenStreams();

    Options m_Options;
    std::unordered_set<std::string> m_Untouched; // network mount points
    std::unordered_map<std::string, std::string> m_MountTypes;
    std::vector<Frame> m_Frames;
    std::size_t m_FirstOpen = 0; // frames below this index are closed
    std::string m_Path;
    std::size_t m_Entries = 0;
    Failure m_Failure;
};

} // namespace SystemPlugin
