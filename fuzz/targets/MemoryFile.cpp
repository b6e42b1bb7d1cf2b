// A file that lives in memory only.
#include "MemoryFile.h"

#include <sys/mman.h>
#include <unistd.h>

namespace fuzzing {

MemoryFile::MemoryFile(const std::string& content) {
    m_Fd = ::memfd_create("fuzz-input", MFD_CLOEXEC);
    if (m_Fd < 0)
        return;
    std::size_t written = 0;
    while (written < content.size()) {
        ssize_t count = ::write(m_Fd, content.data() + written, content.size() - written);
        if (count <= 0)
            return;
        written += static_cast<std::size_t>(count);
    }
    m_Path = "/proc/self/fd/" + std::to_string(m_Fd);
}

MemoryFile::~MemoryFile() {
    if (m_Fd >= 0)
        ::close(m_Fd);
}

} // namespace fuzzing
