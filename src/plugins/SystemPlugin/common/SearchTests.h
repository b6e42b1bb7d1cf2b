// The tests a search applies to each file it meets: its type, its name, its
// permission bits, its owner and group (by name or id, or having none), and
// the paths it leaves out. Read from the search's properties once, then asked
// for every entry without another lookup of any account.
#pragma once

#include "PluginKit/WildcardFilter.h"
#include "SystemPlugin/common/AccountFiles.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace SystemPlugin {

class SearchTests {
public:
    // The letters of "type", as `find -type` takes them, with their kinds.
    struct TypeLetter {
        wchar_t letter;
        mode_t kind;
    };
    static const TypeLetter kTypeLetters[7];

    // Reads "type", "name" with "ignoreCase", "modeAny", "modeNotWithin",
    // "owner", "group", "notOwner", "notGroup" and "exclude" (-12002, -12018
    // for a mode that is not 1 to 4 octal digits); names of accounts are
    // looked up here, once.
    void readValues(ProbeChecks& checks);
    // Reads the account files "noUser" and "noGroup" ask about (-12010,
    // -12020).
    void readAccounts(ProbeChecks& checks);

    // Whether `path` is one "exclude" names: it is neither given nor entered.
    bool excluded(const std::string& path) const;
    // Whether the file passes every test; `name` is its last component.
    bool passes(const std::string& name, const struct stat& status) const;

private:
    std::optional<std::uint32_t> account(ProbeChecks& checks, const wchar_t* property, bool users);

    unsigned m_Types = 0; // bits of kTypeLetters; 0 for any
    bool m_ByName = false;
    PluginKit::WildcardFilter m_Name;
    std::optional<unsigned> m_ModeAny;
    std::optional<unsigned> m_ModeNotWithin;
    std::optional<std::uint32_t> m_Owner, m_Group, m_NotOwner, m_NotGroup;
    bool m_NoUser = false;
    bool m_NoGroup = false;
    AccountFiles m_Users, m_Groups;
    bool m_UsersRead = false, m_GroupsRead = false;
    std::vector<PluginKit::WildcardFilter> m_Excluded;
};

} // namespace SystemPlugin
