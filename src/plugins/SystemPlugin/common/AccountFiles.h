// The user or group ids and names of /etc/passwd or /etc/group, read once as
// glibc's files module reads them (GlibcRecords), without NSS: a search of a
// tree asks about every file's owner, and a remote directory behind NSS can
// take seconds per question.
#pragma once

#include "PluginKit/FileOutcome.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace SystemPlugin {

class AccountFiles {
public:
    enum class Kind { Users, Groups };

    static constexpr const char* kPasswd = "/etc/passwd";
    static constexpr const char* kGroup = "/etc/group";

    // Reads the records of `path` (/etc/passwd for Users, /etc/group for
    // Groups when empty): Missing, Unreadable or OverLimit as the file is.
    PluginKit::FileOutcome load(Kind kind, const std::string& path = std::string());

    // Whether some record has the id (as `find -nouser` asks getpwuid).
    bool hasId(std::uint32_t id) const { return m_Ids.count(id) != 0; }

    // The id of the first record named `name`, as getpwnam finds it.
    bool idOf(const std::string& name, std::uint32_t& id) const;

private:
    std::unordered_set<std::uint32_t> m_Ids;
    std::unordered_map<std::string, std::uint32_t> m_ByName;
};

} // namespace SystemPlugin
