// Which file systems a search of a file tree keeps out of: those the kernel
// makes up as they are read (procfs, sysfs, cgroup and the like), and those
// whose server may not answer (network and FUSE).
#pragma once

#include <string>

namespace SystemPlugin {

class FileSystemKinds {
public:
    // A file-system type of the mount table that the kernel makes up as it is
    // read, or that holds only device nodes and kernel objects: proc, sysfs,
    // devtmpfs, devpts, cgroup, cgroup2, tracefs, debugfs, securityfs, ...
    static bool isPseudoType(const std::string& type);

    // The same, told by `statfs`'s f_type of an open directory (devtmpfs
    // reports tmpfs's number there: the mount table tells it).
    static bool isPseudoMagic(unsigned long magic);

    // A network or FUSE file system, by `statfs`'s f_type: NFS, SMB, CIFS,
    // FUSE.
    static bool isNetworkMagic(unsigned long magic);
};

} // namespace SystemPlugin
