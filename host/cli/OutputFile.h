// Standard output that remembers why a write failed: results written to a
// full disk or a closed descriptor must not be lost without a word.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace corehost {

// A buffered stream buffer over a file descriptor. After the first failed
// write it keeps that write's errno and refuses everything else, so the
// stream that uses it goes bad.
class OutputFile : public std::streambuf {
public:
    explicit OutputFile(int fd) : m_Fd(fd) { setp(m_Buffer, m_Buffer + sizeof m_Buffer); }
    ~OutputFile() override { sync(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // 0 while every write succeeded; else the errno of the first failure.
    int error() const { return m_Error; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool drain();

    int m_Fd;
    int m_Error = 0;
    char m_Buffer[16384];
};

// Points `stream` at another buffer for the lifetime of the object.
class StreamRedirect {
public:
    StreamRedirect(std::ostream& stream, std::streambuf& buffer)
        : m_Stream(stream), m_Previous(stream.rdbuf(&buffer)) {}
    ~StreamRedirect() { m_Stream.rdbuf(m_Previous); }
    StreamRedirect(const StreamRedirect&) = delete;
    StreamRedirect& operator=(const StreamRedirect&) = delete;

private:
    std::ostream& m_Stream;
    std::streambuf* m_Previous;
};

// Creates or truncates the file at `path` and writes `text` to it: 0, or the
// errno of the first failure (opening, writing or closing).
int writeWholeFile(const std::string& path, const std::string& text);
// The same into the file open on `fd`, which it closes.
int writeWholeDescriptor(int fd, const std::string& text);

// Makes each of the descriptors 0, 1 and 2 that is closed refer to /dev/null,
// opened so that using it fails (standard output and error read-only): a file
// that the process opens later can then never take their place, and output
// to a closed descriptor fails as it would have.
void reserveStandardDescriptors();

} // namespace corehost
