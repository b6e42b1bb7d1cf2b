// Reads a whole file into memory, up to a size cap, for the platform's table
// and INI readers.
#pragma once

#include "base/Export.h"

#include <cstddef>
#include <string>

#include <sys/stat.h>

namespace base {

// Closes a descriptor when it goes out of scope.
class BASE_API Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_Fd(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_Fd; }
    void reset(int fd = -1);
    // Gives the descriptor up without closing it.
    int release() {
        int fd = m_Fd;
        m_Fd = -1;
        return fd;
    }

private:
    int m_Fd;
};

// Opens the regular file at `path` (UTF-8) for reading. Returns the open
// descriptor, or a negative errno value. The path is examined with `stat`
// first and anything that is not a regular file (a directory, a FIFO, a
// device) is refused with -EINVAL without being opened, so that a FIFO
// without a writer or an endless device can never block or exhaust the
// caller. The descriptor is then checked to be the file examined (device and
// inode); a path that keeps being replaced meanwhile fails with -ESTALE.
// `status`, when given, receives the opened file's status.
BASE_API int openRegularFile(const char* path, struct stat* status = nullptr);

// Reads the file open on `fd` from its start into `content`. Returns 0, or a
// negative errno value; -EFBIG when the file holds more than `maxSize` bytes,
// decided from its size when it reports one and otherwise after reading at
// most one block (16 KiB) beyond `maxSize` (files under /proc report size 0,
// and some of them, such as /proc/self/pagemap, hold gigabytes). The size
// reported is never taken for the end: the file is read until a read gives
// nothing. `content` is empty on failure. `known` is the descriptor's status
// when the caller has it already (openRegularFile's), saving a system call.
BASE_API int readDescriptorText(int fd, std::string& content, std::size_t maxSize,
                                const struct stat* known = nullptr);

// openRegularFile, then readDescriptorText.
BASE_API int readFileText(const char* path, std::string& content, std::size_t maxSize);

} // namespace base
