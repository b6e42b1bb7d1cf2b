// Whether a unit is enabled, decided from its unit files alone as
// `systemctl is-enabled` decides it (and `systemctl --root=DIR is-enabled`
// for another root): the unit file is found by name along the search path
// (an instance through its template), links are followed as aliases inside
// the search path and as linked files outside it, [Install] is read from the
// file and its drop-ins, and the links found in the search path's directories
// and their .wants/.requires directories tell the state.
#pragma once

#include "SystemPlugin/common/UnitDirectoryCache.h"
#include "SystemPlugin/common/UnitInstallSection.h"
#include "SystemPlugin/common/UnitSearchPath.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace SystemPlugin {

class UnitFileResolver {
public:
    enum class Outcome {
        State,      // `state` holds what systemctl prints
        Missing,    // no unit file of that name (or an alias whose target is missing)
        Refused,    // systemctl fails on the files (a parse error, a link loop, a bad alias)
        Unreadable, // a file or directory cannot be read here (EACCES, EIO)
        OverLimit,  // a unit file over the text limit
        SysV,       // no unit file, but an /etc/init.d script systemctl would hand over to
    };

    // Directory listings come from `cache`, shared by the plug-in instance.
    UnitFileResolver(std::string_view root, UnitDirectoryCache& cache);

    // The state of the unit `name` (a valid unit name, with its suffix):
    // "enabled", "enabled-runtime", "linked", "linked-runtime", "alias",
    // "masked", "masked-runtime", "static", "indirect", "disabled",
    // "generated" or "transient". For any other outcome `reason` says why.
    Outcome state(const std::string& name, std::string& state, std::string& reason);

private:
    enum class Mode { Unknown, Regular, Masked, Alias, Linked };
    struct Info {
        std::string name;
        std::string path;
        Mode mode = Mode::Unknown;
        std::string target; // of an alias or linked file, with the root
        UnitInstallSection::Rules rules;
    };

    Info& add(const std::string& name);
    std::shared_ptr<const UnitDirectoryCache::Listing> listing(const std::string& path, int& error);
    // The index of the unit's final Info in m_Infos, or a negative errno value.
    int lookUp(const std::string& name);
    Outcome outcomeOf(int error, std::string& reason) const;
    int traverse(Info*& info);
    int search(Info& info);
    int follow(Info& info, bool ignoreDifferentName);
    int loadOrReadLink(Info& info, const std::string& path);
    int readLinkMode(Info& info, const std::string& path);
    int loadDropins(Info& info);
    int loadDropin(Info& info, const std::string& path);
    int parse(Info& info, const std::string& path);
    int findInScope(const Info& info, bool matchName, std::string& state);
    int findLinks(const Info& info, bool matchName, bool ignoreSameName,
                  const std::string& directory, bool& sameNameLink);
    int findLinksIn(const UnitDirectoryCache::Listing& listing, const std::string& path,
                    const Info& info, bool ignoreDestination, bool matchName, bool ignoreSameName,
                    const std::string& configPath, bool& sameNameLink);
    int fail(int error, std::string reason);

    UnitSearchPath m_Paths;
    UnitDirectoryCache& m_Cache;
    std::map<std::string, std::pair<std::shared_ptr<const UnitDirectoryCache::Listing>, int>>
        m_Seen;
    std::deque<Info> m_Infos;
    std::string m_Reason;
    // Whether files are read (is-enabled itself), or only examined (the first
    // look for a service's unit file, which skips the generators' directories).
    bool m_Load = true;
};

} // namespace SystemPlugin
