// One path asked about as a regular file.
#include "CorePlugin/common/File.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/PathStatus.h"
#include "base/WideText.h"

#include <cwchar>

#include <sys/stat.h>

namespace CorePlugin {

namespace {

constexpr wchar_t kPlatformPathSeparator = L'/';

struct Attribute {
    const wchar_t* name;
    File::Query query;
    bool isTime;
};

// In the order in which the names are tried.
constexpr Attribute kAttributes[] = {
    {kFileAttributeNames[0], &File::size, false},
    {kFileAttributeNames[1], &File::getINode, false},
    {kFileAttributeNames[2], &File::getMTime, true},
    {kFileAttributeNames[3], &File::getCTime, true},
    {kFileAttributeNames[4], &File::getATime, true},
};

const Attribute* findAttribute(const wchar_t* name) {
    if (!name)
        return nullptr;
    for (const Attribute& attribute : kAttributes)
        if (std::wcscmp(attribute.name, name) == 0)
            return &attribute;
    return nullptr;
}

} // namespace

File::File(const wchar_t* path) : m_Path(toCanonicalPath(i_wcsdup(path))) {}

File::~File() {
    brel_free(m_Path);
}

wchar_t* File::toCanonicalPath(wchar_t* path) {
    if (!path || path[0] == L'\0')
        return path;
    for (wchar_t* c = path; *c != L'\0'; ++c)
        if (*c == kPlatformPathSeparator)
            *c = CANONICAL_PATH_SEPARATOR;
    return path;
}

int File::fstat(struct stat* status) {
    return statWidePath(m_Path, status);
}

TErrorCode File::exists(bool* result) {
    if (!result)
        return RC_INVALID_ARGUMENT;
    if (!m_Path)
        return RC_FILE_WITHOUT_PATH;
    struct stat status {};
    int statResult = fstat(&status);
    return existenceFromStatus(statResult, status.st_mode, REGULAR_FILE, *result);
}

TErrorCode File::regularFileAttribute(unsigned long* value,
                                      unsigned long (*field)(const struct stat& status)) {
    if (!value)
        return RC_INVALID_ARGUMENT;
    if (!m_Path)
        return RC_FILE_WITHOUT_PATH;
    struct stat status {};
    if (fstat(&status) != 0)
        return RC_FILE_STATUS_FAILED;
    if (!hasFileType(status.st_mode, REGULAR_FILE))
        return RC_NOT_A_REGULAR_FILE;
    *value = field(status);
    return RC_SUCCESS;
}

TErrorCode File::size(unsigned long* bytes) {
    return regularFileAttribute(bytes, [](const struct stat& status) {
        return static_cast<unsigned long>(status.st_size);
    });
}

TErrorCode File::getINode(unsigned long* inode) {
    return regularFileAttribute(
        inode, [](const struct stat& status) { return static_cast<unsigned long>(status.st_ino); });
}

TErrorCode File::getCTime(unsigned long* seconds) {
    return regularFileAttribute(seconds, [](const struct stat& status) {
        return static_cast<unsigned long>(status.st_ctim.tv_sec);
    });
}

TErrorCode File::getATime(unsigned long* seconds) {
    return regularFileAttribute(seconds, [](const struct stat& status) {
        return static_cast<unsigned long>(status.st_atim.tv_sec);
    });
}

TErrorCode File::getMTime(unsigned long* seconds) {
    return regularFileAttribute(seconds, [](const struct stat& status) {
        return static_cast<unsigned long>(status.st_mtim.tv_sec);
    });
}

File::Query File::attributeQuery(const wchar_t* name) {
    const Attribute* attribute = findAttribute(name);
    return attribute ? attribute->query : nullptr;
}

bool File::isTimeAttribute(const wchar_t* name) {
    const Attribute* attribute = findAttribute(name);
    return attribute && attribute->isTime;
}

} // namespace CorePlugin
