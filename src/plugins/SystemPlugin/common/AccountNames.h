// User and group names of numeric ids, through NSS.
#pragma once

#include <string>

#include <sys/types.h>

namespace SystemPlugin {

class AccountNames {
public:
    // The largest buffer a lookup may use; a record that needs more is
    // answered with the id.
    static constexpr std::size_t kMaxBuffer = std::size_t{1} << 20;

    // The name of `uid` (`getpwuid_r`), or its decimal form when the account
    // has no name or the lookup fails.
    static std::string userName(uid_t uid);
    // The name of `gid` (`getgrgid_r`), or its decimal form likewise.
    static std::string groupName(gid_t gid);
};

} // namespace SystemPlugin
