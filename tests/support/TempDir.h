// A temporary directory for one test, removed with everything in it afterwards.
#pragma once

#include "base/Utf8.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace testsupport {

class TempDir {
public:
    // Below `parent` when given (a tmpfs such as /dev/shm makes many files fast).
    explicit TempDir(const std::filesystem::path& parent = std::filesystem::path()) {
        std::string pattern = ((parent.empty() ? std::filesystem::temp_directory_path() : parent) /
                               "coreplugin-XXXXXX")
                                  .string();
        if (char* made = ::mkdtemp(pattern.data()))
            m_Path = made;
        EXPECT_FALSE(m_Path.empty()) << "cannot create a temporary directory";
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_Path; }

    // The absolute path of `name` inside the directory.
    std::string at(const std::string& name) const { return m_Path + "/" + name; }

    // Writes `content` to `name` (replacing it) and returns its path.
    std::string write(const std::string& name, const std::string& content) const {
        std::string file = at(name);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << content;
        EXPECT_TRUE(out.good()) << "cannot write " << file;
        return file;
    }

private:
    std::string m_Path;
};

// The wide form of a UTF-8 path made by the tests.
inline std::wstring widen(const std::string& text) {
    std::wstring wide;
    base::decodeUtf8(text.data(), text.size(), wide);
    return wide;
}

} // namespace testsupport
