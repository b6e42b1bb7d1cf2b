// Writing standard output with every failure kept.
#include "cli/OutputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <ostream>
#include <unistd.h>

namespace corehost {

bool OutputFile::drain() {
    const char* at = pbase();
    while (m_Error == 0 && at < pptr()) {
        const ssize_t written = ::write(m_Fd, at, static_cast<std::size_t>(pptr() - at));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            m_Error = written < 0 ? errno : EIO;
        else
            at += written;
    }
    // What could not be written is dropped: the stream has gone bad.
    setp(m_Buffer, m_Buffer + sizeof m_Buffer);
    return m_Error == 0;
}

OutputFile::int_type OutputFile::overflow(int_type c) {
    if (!drain())
        return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int OutputFile::sync() {
    return drain() ? 0 : -1;
}

void reserveStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int opened = ::open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

int writeWholeFile(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    return writeWholeDescriptor(fd, text);
}

int writeWholeDescriptor(int fd, const std::string& text) {
    int error = 0;
    {
        OutputFile buffer(fd);
        std::ostream file(&buffer);
        file << text;
        file.flush();
        error = buffer.error();
    }
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

} // namespace corehost
