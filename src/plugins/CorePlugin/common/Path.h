// One path asked about as a directory.
#pragma once

#include "PluginSDK/Types.h"

#include <cstdint>

namespace CorePlugin {

// Every query makes a fresh status call; nothing is cached.
class Path {
public:
    // The file type of a directory in st_mode.
    static constexpr std::uint32_t PATH = 040000;

    // Keeps a copy of `path` as given; null keeps none.
    explicit Path(const wchar_t* path);
    virtual ~Path();
    Path(const Path&) = delete;
    Path& operator=(const Path&) = delete;

    // The stored path (still owned by the object), or null.
    wchar_t* getPath() { return m_Path; }

    // Whether a directory is at the path (a symbolic link is followed); a
    // missing path is false, any other failure -11009, no path -11014.
    TErrorCode exists(bool* result);

private:
    wchar_t* m_Path;
};

} // namespace CorePlugin
