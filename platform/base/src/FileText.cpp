// Reads a whole file into memory, up to a size cap.
#include "base/FileText.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

Descriptor::~Descriptor() {
    reset();
}

void Descriptor::reset(int fd) {
    if (m_Fd >= 0)
        ::close(m_Fd);
    m_Fd = fd;
}

int openRegularFile(const char* path) {
    if (!path)
        return -EINVAL;
    // Non-blocking, so that opening a FIFO cannot wait for a writer.
    Descriptor file(::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0)
        return -errno;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        return -errno;
    if (!S_ISREG(status.st_mode))
        return -EINVAL;
    return file.release();
}

int readDescriptorText(int fd, std::string& content, std::size_t maxSize) {
    content.clear();
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return -errno;
    const auto reported = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
    if (reported > maxSize)
        return -EFBIG;
    content.reserve(reported);

    char buffer[16384];
    for (off_t offset = 0;;) {
        // Never ask for more than one byte beyond the cap.
        const std::size_t left = maxSize - content.size();
        ssize_t count =
            ::pread(fd, buffer, left < sizeof buffer ? left + 1 : sizeof buffer, offset);
        if (count == 0)
            return 0;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            content.clear();
            return -error;
        }
        if (static_cast<std::size_t>(count) > left) {
            content.clear();
            return -EFBIG;
        }
        content.append(buffer, static_cast<std::size_t>(count));
        offset += count;
    }
}

int readFileText(const char* path, std::string& content, std::size_t maxSize) {
    content.clear();
    int fd = openRegularFile(path);
    if (fd < 0)
        return fd;
    Descriptor file(fd);
    return readDescriptorText(file.get(), content, maxSize);
}

} // namespace base
