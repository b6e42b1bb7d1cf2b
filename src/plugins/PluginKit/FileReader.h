// Reads regular files without trusting what the path or the reported size
// claim: examined before opening, checked after opening, read to the end.
#pragma once

#include "PluginKit/FileOutcome.h"
#include "base/FileText.h"

#include <cstddef>
#include <functional>
#include <string>

namespace PluginKit {

class FileReader {
public:
    // The most bytes a text read keeps; a longer file is OverLimit.
    static constexpr std::size_t kMaxTextBytes = std::size_t{16} << 20;

    // Receives each block of a streamed read, in order.
    using Sink = std::function<void(const unsigned char* bytes, std::size_t size)>;

    // Opens the regular file at `path` (UTF-8): `stat` first, so that a
    // directory, FIFO, socket or device is refused (WrongKind) without ever
    // being opened; then `open` without blocking, and `fstat` of the
    // descriptor, which must be the file examined (device and inode).
    FileOutcome open(const std::string& path);

    // The whole content of the open file from its start, read until the end
    // of file whatever size it reports; OverLimit (and `content` empty) when
    // it holds more than `cap` bytes, found without reading past cap + 1.
    FileOutcome readText(std::string& content, std::size_t cap = kMaxTextBytes);

    // Hands the content of the open file to `sink` block by block, from the
    // current offset to the end of file, with no limit on its size.
    FileOutcome stream(const Sink& sink);

    // WrongKind when the open file lies on procfs or sysfs (`fstatfs`), whose
    // files are made up as they are read; Unreadable when that cannot be told.
    FileOutcome refuseKernelFileSystem() const;

    // open, then readText.
    static FileOutcome readFile(const std::string& path, std::string& content,
                                std::size_t cap = kMaxTextBytes);

private:
    base::Descriptor m_File;
    struct stat m_Status {}; // of m_File, as open found it
};

} // namespace PluginKit
