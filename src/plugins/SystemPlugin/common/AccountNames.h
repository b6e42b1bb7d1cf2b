// User and group names of numeric ids, and ids of names, through NSS; in a
// scanned image (base::ScanRoot), from its /etc/passwd and /etc/group alone.
#pragma once

#include <string>
#include <vector>

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

    // The id of the account named `name` (`getpwnam_r`, `getgrnam_r`); false
    // when there is none or the lookup fails.
    static bool userId(const std::string& name, uid_t& uid);
    static bool groupId(const std::string& name, gid_t& gid);

    // The names of the groups `user` is in, as getgrouplist finds them in
    // files: its primary group, then each group that lists it; empty when
    // there is no such user. For a scanned image, where NSS is not asked.
    static std::vector<std::string> groupsInFiles(const std::string& user);
};

} // namespace SystemPlugin
