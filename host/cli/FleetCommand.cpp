// The fleet's reports gathered, and the page written to a file or standard
// output.
#include "cli/FleetCommand.h"

#include "cli/ExitCodes.h"
#include "cli/OutputFile.h"
#include "eval/DocumentReader.h"
#include "eval/MessageText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace corehost {

namespace {

constexpr const char* kOutcomeFile = "fleet-result.json";

std::string baseName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool isFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The reports in `folder`: its *.json files and its folders' report.json, in
// name order.
std::vector<std::string> reportsIn(const std::string& folder, std::string& error) {
    std::vector<std::string> paths;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        error = std::strerror(errno);
        return paths;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name == kOutcomeFile)
            continue;
        const std::string path = folder + "/" + name;
        if (name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0 && isFile(path))
            paths.push_back(path);
        else if (isFile(path + "/report.json"))
            paths.push_back(path + "/report.json");
    }
    ::closedir(dir);
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace

void FleetCommand::readOutcomes(const std::string& path) {
    std::string text;
    std::string error;
    if (!DocumentReader::readSource(path, text, error)) {
        m_Unreadable.push_back(path + ": " + error);
        return;
    }
    const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    const auto hosts = document.is_object() ? document.find("hosts") : document.end();
    if (!document.is_object() || hosts == document.end() || !hosts->is_object()) {
        m_Unreadable.push_back(path + ": not {\"hosts\": {HOST: OUTCOME, ...}}");
        return;
    }
    // An outcome is a text, or, as the fleet playbook writes it, an object
    // with "outcome" and, when the host failed, "error".
    for (const auto& host : hosts->items()) {
        const nlohmann::json& value = host.value();
        const auto text = [&value](const char* key) {
            const auto found = value.find(key);
            return found != value.end() && found->is_string() ? found->get<std::string>()
                                                              : std::string();
        };
        std::string outcome = value.is_string()   ? value.get<std::string>()
                              : value.is_object() ? text("outcome")
                                                  : std::string();
        if (outcome.empty())
            outcome = value.dump();
        else if (value.is_object() && !text("error").empty())
            outcome += ": " + text("error");
        m_Outcomes[host.key()] = outcome;
    }
}

void FleetCommand::readReports(const std::vector<std::string>& paths,
                               std::map<std::string, HostRecord>& hosts, bool warn) {
    for (const std::string& path : paths) {
        HostRecord host;
        std::string error;
        if (!readHostRecordFile(path, host, error)) {
            if (warn) {
                m_Err << "corehost: " << escapeText(path) << ": " << error << '\n';
                m_Unreadable.push_back(path + ": " + error);
            }
            continue;
        }
        const auto known = hosts.find(host.run.host);
        if (known != hosts.end() && warn)
            m_Err << "corehost: " << escapeText(path) << ": replaces the report of "
                  << escapeText(host.run.host) << " in " << escapeText(known->second.source)
                  << '\n';
        hosts[host.run.host] = std::move(host);
    }
}

int FleetCommand::run(const FleetOptions& options) {
    std::vector<std::string> reports;
    std::set<std::string> outcomeFiles;
    for (const std::string& path : options.files) {
        if (baseName(path) == kOutcomeFile) {
            outcomeFiles.insert(path);
            continue;
        }
        reports.push_back(path);
        // Beside the report, or beside its host's folder (HOST/report.json).
        for (const std::string& folder : {folderOf(path), folderOf(folderOf(path))})
            if (isFile(folder + "/" + kOutcomeFile))
                outcomeFiles.insert(folder + "/" + kOutcomeFile);
    }
    for (const std::string& path : outcomeFiles)
        readOutcomes(path);
    std::map<std::string, HostRecord> hosts;
    readReports(reports, hosts, true);
    if (hosts.empty() && m_Outcomes.empty()) {
        m_Err << "corehost: no report could be read\n";
        return kExitUsage;
    }
    std::map<std::string, HostRecord> earlier;
    if (!options.since.empty()) {
        std::string error;
        const std::vector<std::string> paths = reportsIn(options.since, error);
        if (!error.empty()) {
            m_Err << "corehost: cannot read " << escapeText(options.since) << ": " << error << '\n';
            return kExitUsage;
        }
        readReports(paths, earlier, false);
    }
    if (options.outputFile.empty()) {
        writeFleetPage(m_Out, hosts, earlier, m_Outcomes, m_Unreadable);
        return m_Out.flush() ? kExitSuccess : kExitUsage;
    }
    std::ostringstream page;
    writeFleetPage(page, hosts, earlier, m_Outcomes, m_Unreadable);
    const int error = writeWholeFile(options.outputFile, page.str());
    if (error != 0) {
        m_Err << "corehost: cannot write " << escapeText(options.outputFile) << ": "
              << std::strerror(error) << '\n';
        return kExitUsage;
    }
    return kExitSuccess;
}

} // namespace corehost
