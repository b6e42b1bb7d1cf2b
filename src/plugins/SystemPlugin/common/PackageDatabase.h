// dpkg's package database: the status file with the journal of updates/ applied, as dpkg reads it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace SystemPlugin {

// One instance of a package (a name on one architecture) as the database records it.
struct PackageInstance {
    std::string name;
    std::string architecture;
    std::string version;
    std::string state; // the third word of "Status"; "not-installed" when there is none
    bool multiArchSame = false;

    // Files of the package are on disk: every state but "not-installed" and "config-files".
    bool installed() const { return state != "not-installed" && state != "config-files"; }
};

class PackageDatabase {
public:
    // Changed: a journal entry vanished while the database was read (dpkg removes them when it
    // writes a new status file); a new read will find the new state.
    enum class Outcome { Ok, Unreadable, TooLarge, Changed };

    // Texts above this size (the status file and the journal together) are refused unread.
    static constexpr size_t kMaxBytes = size_t{256} << 20;
    // A text that size made of tiny stanzas would take gigabytes to hold: more stanzas than
    // this are refused too (a machine has some thousands of packages, Debian some tens of
    // thousands per architecture).
    static constexpr size_t kMaxInstances = 200'000;
    // And stanzas of more fields than this (dpkg's have a few dozen).
    static constexpr size_t kMaxFields = 10'000;

    // Reads `status` and then every journal entry of `updates/` under adminDir. A missing or
    // malformed status file, or anything dpkg itself refuses, is Unreadable.
    static Outcome load(const std::string& adminDir, PackageDatabase& out);

    // Applies one file of stanzas (the status file, or a journal entry when `journal`): each
    // stanza replaces the instance it describes. In the status file a slot is kept per name
    // and architecture, and a name described more than once in a state other than
    // not-installed is refused unless each such stanza is Multi-Arch: same (dpkg's "multiple
    // non-coinstallable package instances"); a journal entry for a package that is not Multi-Arch:
    // same replaces its one instance whatever the architecture (a cross-grade). Unreadable when
    // dpkg would refuse the text, TooLarge past kMaxInstances.
    Outcome apply(std::string_view text, bool journal = false);

    // Sorts the instances and checks that no two of one name clash, as dpkg does once it has
    // read everything. False when the database is one dpkg refuses.
    bool finish();

    // The instances named `name`, ordered by architecture; valid after finish().
    std::pair<const PackageInstance*, const PackageInstance*> find(std::string_view name) const;

    // Every instance, sorted by name and then architecture; valid after finish().
    const std::vector<PackageInstance>& instances() const { return m_Instances; }

    // The names with at least one installed instance, sorted by bytes, each once.
    const std::vector<std::string>& installedNames() const { return m_InstalledNames; }

private:
    // The one instance of `name` in a state other than not-installed, or the end when there
    // are none or several (`count` instances from `first` on); `seen` tells how many.
    size_t installedOrOther(const std::string& name, size_t count, size_t first,
                            size_t& seen) const;

    std::vector<PackageInstance> m_Instances;
    // While applying: the instance of each name and architecture, and per name how many
    // instances there are and the first of them.
    std::unordered_map<std::string, size_t> m_ByKey;
    std::unordered_map<std::string, std::pair<size_t, size_t>> m_ByName;
    // Per name, the stanzas of the status file in a state other than not-installed, and
    // whether each was Multi-Arch: same.
    std::unordered_map<std::string, std::pair<size_t, bool>> m_Described;

    std::vector<std::string> m_InstalledNames;
};

} // namespace SystemPlugin
