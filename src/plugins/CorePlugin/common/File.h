// One path asked about as a regular file: existence, size, inode and times.
#pragma once

#include "PluginSDK/Types.h"

#include <cstdint>

struct stat;

namespace CorePlugin {

// The attributes a file is asked about, by name, in the order the names are tried.
inline constexpr const wchar_t* kFileAttributeNames[] = {L"size", L"inode", L"mtime", L"ctime",
                                                         L"atime"};

// Every query makes a fresh status call; nothing is cached.
class File {
public:
    // A query of one numeric attribute.
    using Query = TErrorCode (File::*)(unsigned long* value);

    static constexpr wchar_t CANONICAL_PATH_SEPARATOR = L'/';
    // The file type of a regular file in st_mode.
    static constexpr std::uint32_t REGULAR_FILE = 0100000;

    // Keeps a canonical copy of `path`; null keeps none.
    explicit File(const wchar_t* path);
    virtual ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // The stored path (still owned by the object), or null.
    wchar_t* getPath() { return m_Path; }

    // Rewrites every platform separator of `path` in place as
    // CANONICAL_PATH_SEPARATOR; nothing else is normalised. Returns `path`.
    wchar_t* toCanonicalPath(wchar_t* path);

    // `stat` of the stored path (not of a descriptor): 0, or -1 with errno set.
    int fstat(struct stat* status);

    // Whether a regular file is at the path (a symbolic link is followed); a
    // missing path is false, any other failure -11009.
    TErrorCode exists(bool* result);

    // Attributes of a regular file; -11009 when the status call fails (a
    // missing file included), -11013 when the path is not a regular file.
    TErrorCode size(unsigned long* bytes);
    TErrorCode getINode(unsigned long* inode);
    // Whole seconds since 1970-01-01 00:00 UTC; fractions are dropped.
    TErrorCode getCTime(unsigned long* seconds);
    TErrorCode getATime(unsigned long* seconds);
    TErrorCode getMTime(unsigned long* seconds);

    // The query of an attribute name: "size", "inode", "mtime", "ctime" or
    // "atime", matched exactly; null for any other name or a null one.
    static Query attributeQuery(const wchar_t* name);

    // Whether the attribute of that name is a time: times are signed seconds
    // (a file dated before 1970 has a negative time) that the queries hand
    // over in the bits of an unsigned long, while sizes and inodes are
    // unsigned. False for a name that is no attribute.
    static bool isTimeAttribute(const wchar_t* name);

private:
    TErrorCode regularFileAttribute(unsigned long* value,
                                    unsigned long (*field)(const struct stat& status));

    wchar_t* m_Path;
};

} // namespace CorePlugin
