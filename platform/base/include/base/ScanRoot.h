// The directory a process scans as if it were "/": an image unpacked from a
// container, a chroot being built, a disk mounted for an audit.
//
// A host that scans an image calls prepare() before it loads and initializes
// the plug-ins, and enter() after, before the first probe. enter() makes the
// directory the process's root (chroot, then chdir to it), so that every path,
// every absolute or relative symbolic link and every ".." resolves inside the
// image as the kernel resolves it for a program running there: no link can
// reach the host's files. It needs the right to change the root directory
// (root, or CAP_SYS_CHROOT) and cannot be undone.
//
// Between the two calls the plug-ins learn from active() that they scan an
// image: they load now whatever they would load later (their own modules, the
// libraries those need, the mount table), because after enter() a path names
// the image's file, and nothing of an image may ever be loaded or run. Probes
// of what only a running system has (the running kernel's parameters, the
// mount table, the service manager, the kernel's audit rules) answer that it
// is not available rather than the host's value; account names come from the
// image's /etc/passwd and /etc/group read as files, never through NSS, which
// would load the modules the image's nsswitch.conf names.
#pragma once

#include "base/Export.h"

#include <string>

namespace base {

class BASE_API ScanRoot {
public:
    // Takes `directory` as the root to scan: it must be a directory; its
    // canonical path is kept. 0, or a negative errno value (nothing is kept).
    // Only one root is taken in a process: a second call fails with -EBUSY.
    static int prepare(const char* directory);

    // Makes the prepared directory the root of the process and its working
    // directory. 0, or a negative errno value (-EPERM without the right to
    // change the root; -ENOENT when nothing was prepared).
    static int enter();

    // Whether a root was prepared (and so the probes scan an image).
    static bool active();
    // Whether enter() succeeded.
    static bool entered();

    // The canonical path of the root on the host ("" when none was prepared).
    static std::string path();

    // The host's path of the file `imagePath` names inside the root, by text
    // alone (no link is followed): the root's path joined with an absolute
    // `imagePath`; `imagePath` itself when no root was prepared or it is
    // relative. For looking a path up in the host's mount table.
    static std::string hostPath(const std::string& imagePath);
};

} // namespace base
