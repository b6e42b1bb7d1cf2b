// Reads a whole file into memory.
#include "base/FileText.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_Fd(fd) {}
    ~Descriptor() {
        if (m_Fd >= 0)
            ::close(m_Fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_Fd; }

private:
    int m_Fd;
};

} // namespace

int readFileText(const char* path, std::string& content) {
    content.clear();
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

    char buffer[16384];
    for (;;) {
        ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count == 0)
            return 0;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            content.clear();
            return -error;
        }
        content.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace base
