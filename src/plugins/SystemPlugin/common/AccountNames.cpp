// User and group names of numeric ids.
#include "SystemPlugin/common/AccountNames.h"

#include <cerrno>
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

} // namespace

std::string AccountNames::userName(uid_t uid) {
    return nameOrId(uid, [uid](char* buffer, std::size_t size, int& error) -> const char* {
        struct passwd record {};
        struct passwd* found = nullptr;
        error = ::getpwuid_r(uid, &record, buffer, size, &found);
        return found ? found->pw_name : nullptr;
    });
}

std::string AccountNames::groupName(gid_t gid) {
    return nameOrId(gid, [gid](char* buffer, std::size_t size, int& error) -> const char* {
        struct group record {};
        struct group* found = nullptr;
        error = ::getgrgid_r(gid, &record, buffer, size, &found);
        return found ? found->gr_name : nullptr;
    });
}

bool AccountNames::userId(const std::string& name, uid_t& uid) {
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
    return withBuffer([&](char* buffer, std::size_t size, int& error) {
        struct group record {};
        struct group* found = nullptr;
        error = ::getgrnam_r(name.c_str(), &record, buffer, size, &found);
        if (found)
            gid = found->gr_gid;
        return found != nullptr;
    });
}

} // namespace SystemPlugin
