// Reads dpkg's status file and journal as dpkg reads them, refusing what dpkg refuses.
#include "SystemPlugin/common/PackageDatabase.h"

#include "PluginKit/DebianVersion.h"
#include "PluginKit/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <new>
#include <unordered_set>

namespace SystemPlugin {

namespace {

using Outcome = PackageDatabase::Outcome;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isSpace(char c) {
    return isBlank(c) || (c >= '\n' && c <= '\r');
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

struct CaseBlindHash {
    size_t operator()(std::string_view s) const {
        size_t h = 14695981039346656037ull;
        for (char c : s)
            h = (h ^ static_cast<unsigned char>(lower(c))) * 1099511628211ull;
        return h;
    }
};
struct CaseBlindEqual {
    bool operator()(std::string_view a, std::string_view b) const {
        return equalsIgnoringCase(a, b);
    }
};

bool inSet(std::string_view word, std::initializer_list<std::string_view> set) {
    return std::find(set.begin(), set.end(), word) != set.end();
}

bool validName(std::string_view name) {
    if (name.empty())
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '+' || c == '.' || c == '_';
    });
}

// "want flag state", each word from dpkg's set; the state word is stored.
bool parseStatus(std::string_view value, std::string& state) {
    std::string_view words[3];
    size_t count = 0;
    size_t i = 0;
    while (i < value.size()) {
        while (i < value.size() && isBlank(value[i]))
            ++i;
        const size_t start = i;
        while (i < value.size() && !isBlank(value[i]))
            ++i;
        if (i == start)
            break;
        if (count == 3)
            return false;
        words[count++] = value.substr(start, i - start);
    }
    if (count != 3 || !inSet(words[0], {"unknown", "install", "hold", "deinstall", "purge"}) ||
        !inSet(words[1], {"ok", "reinstreq"}) ||
        !inSet(words[2], {"not-installed", "config-files", "half-installed", "unpacked",
                          "half-configured", "triggers-awaited", "triggers-pending", "installed"}))
        return false;
    state = std::string(words[2]);
    return true;
}

// The fields of one stanza that matter here, as views into the text.
struct Stanza {
    std::unordered_set<std::string_view, CaseBlindHash, CaseBlindEqual> names;
    std::string_view package, status, version, architecture, multiArch;
    bool hasPackage = false, hasStatus = false, hasVersion = false;
    bool triggersPending = false, triggersAwaited = false;
    bool tooManyFields = false;

    bool add(std::string_view name, std::string_view value) {
        if (!names.insert(name).second)
            return false;
        tooManyFields = names.size() > PackageDatabase::kMaxFields;
        if (equalsIgnoringCase(name, "Package")) {
            package = value;
            hasPackage = true;
        } else if (equalsIgnoringCase(name, "Status")) {
            status = value;
            hasStatus = true;
        } else if (equalsIgnoringCase(name, "Version")) {
            version = value;
            hasVersion = true;
        } else if (equalsIgnoringCase(name, "Architecture")) {
            architecture = value;
        } else if (equalsIgnoringCase(name, "Multi-Arch")) {
            multiArch = value;
        } else if (equalsIgnoringCase(name, "Triggers-Pending")) {
            triggersPending = true;
        } else if (equalsIgnoringCase(name, "Triggers-Awaited")) {
            triggersAwaited = true;
        }
        return true;
    }

    bool toInstance(PackageInstance& out) const {
        if (!hasPackage || !validName(package))
            return false;
        out.name.resize(package.size());
        std::transform(package.begin(), package.end(), out.name.begin(), lower);
        out.architecture = std::string(architecture);
        out.multiArchSame = multiArch == "same";
        out.state = "not-installed";
        if (hasStatus && !parseStatus(status, out.state))
            return false;
        // dpkg's checks of the trigger fields against the state, and of Multi-Arch: same
        // against the architecture.
        const bool pendingAllowed =
            out.state == "triggers-pending" || out.state == "triggers-awaited";
        const bool awaitedAllowed =
            inSet(out.state, {"half-installed", "unpacked", "half-configured", "triggers-awaited"});
        if ((out.state == "triggers-pending" && !triggersPending) ||
            (out.state == "triggers-awaited" && !triggersAwaited) ||
            (triggersPending && !pendingAllowed) || (triggersAwaited && !awaitedAllowed) ||
            (out.multiArchSame && (out.architecture.empty() || out.architecture == "all")))
            return false;
        PluginKit::DebianVersion parsed;
        if (hasVersion && (version.empty() || !PluginKit::DebianVersion::parse(version, parsed)))
            return false;
        if (!hasVersion && out.state != "not-installed" && out.state != "half-installed")
            return false;
        out.version = std::string(version);
        return true;
    }
};

bool byKey(const PackageInstance& a, const PackageInstance& b) {
    return std::tie(a.name, a.architecture) < std::tie(b.name, b.architecture);
}

std::string_view trimEnd(std::string_view s) {
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Splits the text into stanzas of fields; false where dpkg reports a syntax error.
// More than `room` stanzas make the text too large.
Outcome parseStanzas(std::string_view text, size_t room, std::vector<PackageInstance>& out) {
    if (!text.empty() && text.back() != '\n')
        return Outcome::Unreadable;
    Stanza stanza;
    bool open = false;
    std::string_view name;
    const char* valueBegin = nullptr;
    const char* valueEnd = nullptr;
    bool full = false; // over kMaxFields in a stanza, or over `room` stanzas
    auto closeField = [&]() {
        if (name.empty())
            return true;
        const bool ok =
            stanza.add(name, trimEnd(std::string_view(valueBegin, valueEnd - valueBegin)));
        name = {};
        full = stanza.tooManyFields;
        return ok && !full;
    };
    auto closeStanza = [&]() {
        if (!open)
            return true;
        PackageInstance instance;
        if (!closeField() || !stanza.toInstance(instance))
            return false;
        full = out.size() >= room || stanza.tooManyFields;
        if (full)
            return false;
        out.push_back(std::move(instance));
        stanza = Stanza();
        open = false;
        return true;
    };
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty()) {
            if (!closeStanza())
                return full ? Outcome::TooLarge : Outcome::Unreadable;
            continue;
        }
        if (isSpace(line[0])) {
            // A continuation of the current field's value (dpkg only warns about one of blanks
            // alone); before any field it is a field without a name.
            if (name.empty())
                return Outcome::Unreadable;
            valueEnd = line.data() + line.size();
            continue;
        }
        if (!closeField())
            return full ? Outcome::TooLarge : Outcome::Unreadable;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0)
            return Outcome::Unreadable;
        name = line.substr(0, colon);
        if (std::any_of(name.begin(), name.end(), isSpace))
            return Outcome::Unreadable;
        size_t value = colon + 1;
        while (value < line.size() && isBlank(line[value]))
            ++value;
        valueBegin = line.data() + value;
        valueEnd = line.data() + line.size();
        open = true;
    }
    if (!closeStanza())
        return full ? Outcome::TooLarge : Outcome::Unreadable;
    return Outcome::Ok;
}

// Reads a regular file whole, refusing it once `budget` bytes would be exceeded; Changed when
// it is gone.
Outcome readFile(const std::string& path, size_t& budget, std::string& out) {
    const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(path, out, budget);
    if (outcome.error == PluginKit::FileError::OverLimit)
        return Outcome::TooLarge;
    if (outcome.error == PluginKit::FileError::Missing)
        return Outcome::Changed;
    if (!outcome.ok())
        return Outcome::Unreadable;
    budget -= out.size();
    return Outcome::Ok;
}

// The journal entries of updates/: names of digits only, all of one length (dpkg refuses the
// directory otherwise), in numeric order. A missing directory has no entries.
bool journalEntries(const std::string& directory, std::vector<std::string>& names) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    if (!dir && errno == ENOMEM)
        throw std::bad_alloc(); // a failure of ours, not an unreadable database
    if (!dir)
        return errno == ENOENT;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (!name.empty() &&
            std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            if (!names.empty() && names.front().size() != name.size())
                return false;
            names.emplace_back(name);
        }
    }
    if (errno != 0)
        return false;
    std::sort(names.begin(), names.end());
    return true;
}

} // namespace

PackageDatabase::Outcome PackageDatabase::load(const std::string& adminDir, PackageDatabase& out) {
    out = PackageDatabase();
    size_t budget = kMaxBytes;
    std::string text;
    Outcome outcome = readFile(adminDir + "/status", budget, text);
    if (outcome != Outcome::Ok)
        return outcome == Outcome::Changed ? Outcome::Unreadable : outcome;
    if ((outcome = out.apply(text)) != Outcome::Ok)
        return outcome;
    std::vector<std::string> entries;
    if (!journalEntries(adminDir + "/updates", entries))
        return Outcome::Unreadable;
    for (const std::string& entry : entries) {
        outcome = readFile(adminDir + "/updates/" + entry, budget, text);
        if (outcome != Outcome::Ok)
            return outcome;
        if ((outcome = out.apply(text, true)) != Outcome::Ok)
            return outcome;
    }
    return out.finish() ? Outcome::Ok : Outcome::Unreadable;
}

PackageDatabase::Outcome PackageDatabase::apply(std::string_view text, bool journal) {
    std::vector<PackageInstance> stanzas;
    const Outcome parsed = parseStanzas(text, kMaxInstances - m_Instances.size(), stanzas);
    if (parsed != Outcome::Ok)
        return parsed;
    for (PackageInstance& stanza : stanzas) {
        const std::string key = stanza.name + '\n' + stanza.architecture;
        auto found = m_ByKey.find(key);
        size_t target = found == m_ByKey.end() ? m_Instances.size() : found->second;
        auto& [count, first] = m_ByName[stanza.name];
        if (!journal && stanza.state != "not-installed") {
            auto& [described, allSame] =
                m_Described.try_emplace(stanza.name, 0, true).first->second;
            allSame = allSame && stanza.multiArchSame;
            if (++described > 1 && !allSame)
                return Outcome::Unreadable;
        }
        // In a journal entry, a package with one instance in a state other than
        // not-installed is that instance whatever the architecture (a cross-grade), unless
        // both are "Multi-Arch: same".
        size_t instances = 0;
        const size_t present =
            journal ? installedOrOther(stanza.name, count, first, instances) : m_Instances.size();
        if (instances > 1 && !stanza.multiArchSame)
            return Outcome::Unreadable; // not co-installable with the instances present
        if (present != m_Instances.size() && present != target &&
            !(stanza.multiArchSame && m_Instances[present].multiArchSame)) {
            target = present;
            m_ByKey.erase(m_Instances[present].name + '\n' + m_Instances[present].architecture);
        }
        if (target == m_Instances.size()) {
            first = count++ == 0 ? target : first;
            m_Instances.emplace_back();
        }
        m_ByKey[key] = target;
        m_Instances[target] = std::move(stanza);
    }
    return Outcome::Ok;
}

size_t PackageDatabase::installedOrOther(const std::string& name, size_t count, size_t first,
                                         size_t& seen) const {
    size_t found = m_Instances.size();
    seen = 0;
    for (size_t i = first; i < m_Instances.size() && count > 0; ++i) {
        if (m_Instances[i].name != name)
            continue;
        --count;
        if (m_Instances[i].state != "not-installed") {
            found = i;
            ++seen;
        }
    }
    return seen == 1 ? found : m_Instances.size();
}

bool PackageDatabase::finish() {
    m_ByName.clear();
    m_Described.clear();
    m_ByKey.clear();
    std::sort(m_Instances.begin(), m_Instances.end(), byKey);
    m_InstalledNames.clear();
    for (auto first = m_Instances.begin(); first != m_Instances.end();) {
        auto last = std::find_if(first, m_Instances.end(),
                                 [&](const PackageInstance& p) { return p.name != first->name; });
        size_t present = 0;
        bool allSame = true;
        bool anyInstalled = false;
        for (auto it = first; it != last; ++it) {
            if (it->state == "not-installed")
                continue;
            ++present;
            allSame = allSame && it->multiArchSame;
            anyInstalled = anyInstalled || it->installed();
        }
        // Two instances of one name must both be "Multi-Arch: same" to be co-installed.
        if (present > 1 && !allSame)
            return false;
        if (anyInstalled)
            m_InstalledNames.push_back(first->name);
        first = last;
    }
    return true;
}

std::pair<const PackageInstance*, const PackageInstance*>
PackageDatabase::find(std::string_view name) const {
    auto range = std::equal_range(
        m_Instances.begin(), m_Instances.end(), name, [](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, PackageInstance>)
                return std::string_view(a.name) < b;
            else
                return a < std::string_view(b.name);
        });
    const PackageInstance* base = m_Instances.data();
    return {base + (range.first - m_Instances.begin()),
            base + (range.second - m_Instances.begin())};
}

} // namespace SystemPlugin
