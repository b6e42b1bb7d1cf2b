// How reading a file ended, in the few kinds the probes answer with a code.
#pragma once

#include <cerrno>
#include <new>

namespace PluginKit {

enum class FileError {
    None,
    // The path names nothing: ENOENT, ENOTDIR, a dangling link.
    Missing,
    // Something other than what was asked for: a directory, FIFO, socket or
    // device where a regular file is read; a procfs or sysfs file to digest.
    WrongKind,
    // Over a limit: a text over its cap, too many paths, lines or entries.
    OverLimit,
    // It exists but cannot be read: EACCES, EPERM, EIO, ELOOP and the rest.
    Unreadable,
    // Reaching it would touch a network or FUSE file system, which the
    // caller does not allow.
    OnNetwork,
};

struct FileOutcome {
    FileError error = FileError::None;
    // The errno value behind Missing and Unreadable, for the trace; else 0.
    int systemError = 0;

    bool ok() const { return error == FileError::None; }

    static FileOutcome success() { return {}; }
    static FileOutcome of(FileError error) { return {error, 0}; }
    // The kind of a failed system call's errno value. ENOMEM is no kind of
    // file: memory the kernel or the C library (opendir's buffer) could not
    // find is thrown as std::bad_alloc, which the expression's guard answers
    // with the plug-in's internal failure, never "cannot be read".
    static FileOutcome fromErrno(int value) {
        if (value == ENOMEM)
            throw std::bad_alloc();
        if (value == ENOENT || value == ENOTDIR)
            return {FileError::Missing, value};
        return {FileError::Unreadable, value};
    }
};

} // namespace PluginKit
