// The status call on a wide path, shared by File and Path.
#pragma once

#include "PluginSDK/Types.h"

#include <sys/stat.h>

namespace CorePlugin {

// `stat` of the UTF-8 form of `path` (symbolic links are followed): 0, or -1
// with errno set. A path that has no UTF-8 form (a character that is not a
// Unicode scalar value) names nothing that can be examined; it is never handed
// to `stat` and fails with errno EILSEQ.
int statWidePath(const wchar_t* path, struct stat* status);

// Whether the file type in `mode` is exactly `type` (an S_IFMT value).
inline bool hasFileType(mode_t mode, unsigned int type) {
    return (mode & S_IFMT) == type;
}

// The answer of an existence query from the outcome of its status call, made
// just before (errno is read): a missing path (ENOENT) is `found` false, any
// other failure -11009; otherwise `found` tells whether the file type is `type`.
TErrorCode existenceFromStatus(int statResult, mode_t mode, unsigned int type, bool& found);

} // namespace CorePlugin
