// A file that lives in memory only (memfd), reachable by a path, so that the
// file readers can be fuzzed without writing to any file system.
#pragma once

#include <string>

namespace fuzzing {

class MemoryFile {
public:
    // A regular file holding `content`; path() is empty when none could be made.
    explicit MemoryFile(const std::string& content);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // "/proc/self/fd/N", or empty.
    const std::string& path() const { return m_Path; }
    std::wstring widePath() const { return std::wstring(m_Path.begin(), m_Path.end()); }

private:
    int m_Fd = -1;
    std::string m_Path;
};

} // namespace fuzzing
