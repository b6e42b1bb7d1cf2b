// User and group names of numeric ids, and ids of names.
#include "SystemPlugin/common/AccountNames.h"

#include "SystemPlugin/common/GlibcRecords.h"
#include "base/FileText.h"
#include "base/ScanRoot.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

#include <grp.h>
#include <pwd.h>

namespace SystemPlugin {

namespace {

// Runs `lookup(buffer, size, error)`, which tells whether it found the record
// and sets `error` to the function's result, doubling the buffer while it is
// too small (ERANGE) up to kMaxBuffer. Whether a record was found.
template <typename Lookup> bool withBuffer(Lookup lookup) {
    for (std::size_t size = 1024; size <= AccountNames::kMaxBuffer; size *= 2) {
        std::vector<char> buffer(size);
        int error = 0;
        const bool found = lookup(buffer.data(), buffer.size(), error);
        if (error == ERANGE)
            continue;
        return error == 0 && found;
    }
    return false;
}

// `lookup(buffer, size, error)` gives the name found or null. The name, or
// the decimal id without one.
template <typename Lookup> std::string nameOrId(unsigned long id, Lookup lookup) {
    std::string name;
    if (withBuffer([&](char* buffer, std::size_t size, int& error) {
            const char* found = lookup(buffer, size, error);
            if (found && *found != '\0')
                name = found;
            return !name.empty();
        }))
        return name;
    return std::to_string(id);
}

// In a scanned image NSS is not asked: it would load the modules the image's
// nsswitch.conf names. The image's /etc/passwd and /etc/group are read as
// glibc's files module reads them, and the first record that matches answers,
// as there. A file that cannot be read answers nothing.
constexpr std::size_t kMaxAccountFileBytes = std::size_t{64} << 20;

// Calls `match(fields)` on each record of `path` until it gives true; whether
// one did.
template <typename Match> bool findRecord(const char* path, Match match) {
    std::string text;
    if (base::readFileText(path, text, kMaxAccountFileBytes) != 0)
        return false;
    bool found = false;
    GlibcRecords::forEach(text, GlibcRecords::kindOf(path),
                          [&](const std::vector<std::string_view>& fields) {
                              if (!found)
                                  found = match(fields);
                          });
    return found;
}

// The id field of a record glibc accepted.
unsigned long idOf(std::string_view field) {
    return std::strtoul(std::string(field).c_str(), nullptr, 10) & 0xFFFFFFFFul;
}

std::string nameInFile(const char* path, unsigned long id) {
    std::string name;
    if (findRecord(path, [&](const std::vector<std::string_view>& fields) {
            if (fields.size() < 3 || idOf(fields[2]) != id || fields[0].empty())
                return false;
            name = std::string(fields[0]);
            return true;
        }))
        return name;
    return std::to_string(id);
}

bool idInFile(const char* path, const std::string& name, unsigned long& id) {
    return findRecord(path, [&](const std::vector<std::string_view>& fields) {
        if (fields.size() < 3 || fields[0] != name)
            return false;
        id = idOf(fields[2]);
        return true;
    });
}

} // namespace

std::string AccountNames::userName(uid_t uid) {
    if (base::ScanRoot::active())
        return nameInFile("/etc/passwd", uid);
    return nameOrId(uid, [uid](char* buffer, std::size_t size, int& error) -> const char* {
        struct passwd record {};
        struct passwd* found = nullptr;
        error = ::getpwuid_r(uid, &record, buffer, size, &found);
        return found ? found->pw_name : nullptr;
    });
}

std::string AccountNames::groupName(gid_t gid) {
    if (base::ScanRoot::active())
        return nameInFile("/etc/group", gid);
    return nameOrId(gid, [gid](char* buffer, std::size_t size, int& error) -> const char* {
        struct group record {};
        struct group* found = nullptr;
        error = ::getgrgid_r(gid, &record, buffer, size, &found);
        return found ? found->gr_name : nullptr;
    });
}

bool AccountNames::userId(const std::string& name, uid_t& uid) {
    if (base::ScanRoot::active()) {
        unsigned long id = 0;
        const bool found = idInFile("/etc/passwd", name, id);
        if (found)
            uid = static_cast<uid_t>(id);
        return found;
    }
    return withBuffer([&](char* buffer, std::size_t size, int& error) {
        struct passwd record {};
        struct passwd* found = nullptr;
        error = ::getpwnam_r(name.c_str(), &record, buffer, size, &found);
        if (found)
            uid = found->pw_uid;
        return found != nullptr;
    });
}

bool AccountNames::groupId(const std::string& name, gid_t& gid) {
    if (base::ScanRoot::active()) {
        unsigned long id = 0;
        const bool found = idInFile("/etc/group", name, id);
        if (found)
            gid = static_cast<gid_t>(id);
        return found;
    }
    return withBuffer([&](char* buffer, std::size_t size, int& error) {
        struct group record {};
        struct group* found = nullptr;
        error = ::getgrnam_r(name.c_str(), &record, buffer, size, &found);
        if (found)
            gid = found->gr_gid;
        return found != nullptr;
    });
}

std::vector<std::string> AccountNames::groupsInFiles(const std::string& user) {
    unsigned long primary = 0;
    bool known = false;
    findRecord("/etc/passwd", [&](const std::vector<std::string_view>& fields) {
        if (fields.size() < 4 || fields[0] != user)
            return false;
        primary = idOf(fields[3]);
        return known = true;
    });
    if (!known)
        return {};
    std::vector<std::string> names{nameInFile("/etc/group", primary)};
    std::vector<std::string> members;
    findRecord("/etc/group", [&](const std::vector<std::string_view>& fields) {
        if (fields.size() < 4 || idOf(fields[2]) == primary)
            return false;
        members.clear();
        GlibcRecords::items(fields[3], ',', members);
        if (std::find(members.begin(), members.end(), user) != members.end())
            names.emplace_back(fields[0]);
        return false;
    });
    return names;
}

} // namespace SystemPlugin
