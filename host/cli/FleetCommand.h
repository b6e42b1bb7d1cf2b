// corehost report: the JSON reports of many hosts as one HTML page.
#pragma once

#include "cli/HostRecord.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace corehost {

struct FleetOptions {
    std::vector<std::string> files; // host reports, and fleet-result.json files
    std::string since;              // a folder of earlier reports, or empty
    std::string outputFile;         // empty: standard output
};

class FleetCommand {
public:
    FleetCommand(std::ostream& out, std::ostream& err) : m_Out(out), m_Err(err) {}

    // 0 when the page was written, 2 when no report could be read or the page
    // could not be written.
    int run(const FleetOptions& options);

private:
    // Reads every report of `paths` into `hosts` by host name; a later report
    // of the same host replaces an earlier one.
    void readReports(const std::vector<std::string>& paths,
                     std::map<std::string, HostRecord>& hosts, bool warn);
    // Reads a fleet-result.json: host name -> outcome.
    void readOutcomes(const std::string& path);

    std::ostream& m_Out;
    std::ostream& m_Err;
    std::map<std::string, std::string> m_Outcomes;
    std::vector<std::string> m_Unreadable; // "path: why"
};

// The page itself, from the hosts' reports, the earlier reports (may be
// empty) and the playbook's outcome of each host (may be empty).
void writeFleetPage(std::ostream& out, const std::map<std::string, HostRecord>& hosts,
                    const std::map<std::string, HostRecord>& earlier,
                    const std::map<std::string, std::string>& outcomes,
                    const std::vector<std::string>& unreadable);

} // namespace corehost
