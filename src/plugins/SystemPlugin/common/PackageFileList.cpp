// Reads dpkg's file lists and diversions as dpkg-query -L and dpkg -S read them.
#include "SystemPlugin/common/PackageFileList.h"

#include "PluginKit/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>
#include <unordered_map>

namespace SystemPlugin {

namespace {

using Outcome = PackageFileList::Outcome;

struct Diversion {
    std::string to;
    std::string by; // ":" for a local diversion
};

// Calls `line` with each line of `text`, without its newline; a last line without one counts.
template <typename Callback> void eachLine(std::string_view text, Callback line) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        line(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

// Reads a file into `text` within what is left of the byte budget: Ok, or Unreadable (with
// `missing` set when the file is not there), or TooLarge.
Outcome readWithin(const std::string& path, std::size_t& budget, std::string& text, bool& missing) {
    missing = false;
    const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(path, text, budget);
    switch (outcome.error) {
    case PluginKit::FileError::None:
        budget -= text.size();
        return Outcome::Ok;
    case PluginKit::FileError::OverLimit:
        return Outcome::TooLarge;
    case PluginKit::FileError::Missing:
        missing = true;
        return Outcome::Unreadable;
    default:
        return Outcome::Unreadable;
    }
}

// dpkg's diversions file: three lines for each diversion (from, to, by). An absent file is
// no diversions.
Outcome readDiversions(const std::string& path, std::size_t& budget,
                       std::unordered_map<std::string, Diversion>& diversions) {
    std::string text;
    bool missing = false;
    const Outcome outcome = readWithin(path, budget, text, missing);
    if (outcome != Outcome::Ok)
        return missing ? Outcome::Ok : outcome;
    std::vector<std::string_view> lines;
    eachLine(text, [&](std::string_view line) { lines.push_back(line); });
    if (lines.size() % 3 != 0)
        return Outcome::Unreadable; // dpkg stops at a diversion without its target or owner
    for (size_t i = 0; i < lines.size(); i += 3) {
        if (lines[i].empty() || lines[i + 1].empty() || lines[i + 2].empty())
            return Outcome::Unreadable;
        diversions[std::string(lines[i])] = {std::string(lines[i + 1]), std::string(lines[i + 2])};
    }
    return Outcome::Ok;
}

// dpkg's info/format: absent or 0, lists named after the package alone; 1, a Multi-Arch: same
// package's list carries its architecture (`name:arch.list`). Read as scanf's %u reads it.
Outcome readFormat(const std::string& path, std::size_t& budget, bool& multiArch) {
    multiArch = false;
    std::string text;
    bool missing = false;
    const Outcome outcome = readWithin(path, budget, text, missing);
    if (outcome != Outcome::Ok)
        return missing ? Outcome::Ok : outcome;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    const size_t digits = i;
    unsigned long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && value <= 1)
        value = value * 10 + static_cast<unsigned long>(text[i++] - '0');
    if (i == digits || value > 1)
        return Outcome::Unreadable; // corrupt, or a format newer than dpkg's own
    multiArch = value == 1;
    return Outcome::Ok;
}

// Names each absolute path's directory as realpath(3) resolves it, once per directory.
class DirectoryResolver {
public:
    std::string resolve(const std::string& path) {
        const size_t slash = path.rfind('/');
        if (path.empty() || path[0] != '/' || slash == std::string::npos)
            return path;
        const std::string directory = slash == 0 ? "/" : path.substr(0, slash);
        auto found = m_Resolved.find(directory);
        if (found == m_Resolved.end()) {
            errno = 0;
            std::unique_ptr<char, decltype(&std::free)> real(::realpath(directory.c_str(), nullptr),
                                                             &std::free);
            if (!real && errno == ENOMEM)
                throw std::bad_alloc(); // not a directory left as listed: a wrong path
            found = m_Resolved.emplace(directory, real ? std::string(real.get()) : directory).first;
        }
        const std::string& resolved = found->second;
        return (resolved == "/" ? "" : resolved) + path.substr(slash);
    }

private:
    std::unordered_map<std::string, std::string> m_Resolved;
};

} // namespace

Outcome PackageFileList::read(const std::string& adminDir,
                              const std::vector<const PackageInstance*>& packages,
                              std::vector<std::string>& paths, std::string& problem) {
    paths.clear();
    problem.clear();
    if (packages.empty())
        return Outcome::Ok; // nothing to list: dpkg reads neither diversions nor format
    std::size_t budget = kMaxBytes;
    std::unordered_map<std::string, Diversion> diversions;
    problem = adminDir + "/diversions";
    Outcome outcome = readDiversions(problem, budget, diversions);
    if (outcome != Outcome::Ok)
        return outcome;

    bool multiArch = false;
    problem = adminDir + "/info/format";
    outcome = readFormat(problem, budget, multiArch);
    if (outcome != Outcome::Ok)
        return outcome;

    DirectoryResolver resolver;
    std::string text;
    for (const PackageInstance* package : packages) {
        problem = adminDir + "/info/" + package->name +
                  (multiArch && package->multiArchSame ? ":" + package->architecture : "") +
                  ".list";
        bool missing = false;
        outcome = readWithin(problem, budget, text, missing);
        if (missing)
            continue;
        if (outcome != Outcome::Ok)
            return outcome;
        bool tooMany = false;
        eachLine(text, [&](std::string_view line) {
            if (line.empty() || line == "/." || tooMany)
                return;
            if (paths.size() == kMaxPaths) {
                tooMany = true;
                return;
            }
            std::string path(line);
            const auto diverted = diversions.find(path);
            if (diverted != diversions.end() && diverted->second.by != package->name)
                path = diverted->second.to;
            paths.push_back(resolver.resolve(path));
        });
        if (tooMany)
            return Outcome::TooLarge;
    }
    problem.clear();
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return Outcome::Ok;
}

} // namespace SystemPlugin
