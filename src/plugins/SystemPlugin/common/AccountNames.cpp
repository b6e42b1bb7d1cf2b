// User and group names of numeric ids.
#include "SystemPlugin/common/AccountNames.h"

#include <cerrno>
#include <vector>

#include <grp.h>
#include <pwd.h>

namespace SystemPlugin {

namespace {

// Runs `lookup(buffer, size, error)`, which gives the name found or null and
// sets `error` to the function's result, doubling the buffer while it is too
// small (ERANGE) up to kMaxBuffer. The name, or the decimal id without one.
template <typename Lookup> std::string nameOrId(unsigned long id, Lookup lookup) {
    for (std::size_t size = 1024; size <= AccountNames::kMaxBuffer; size *= 2) {
        std::vector<char> buffer(size);
        int error = 0;
        const char* name = lookup(buffer.data(), buffer.size(), error);
        if (error == ERANGE)
            continue;
        if (error == 0 && name && *name != '\0')
            return name;
        break;
    }
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

} // namespace SystemPlugin
