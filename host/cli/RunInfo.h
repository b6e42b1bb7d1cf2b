// What a report says about the run it comes from: the machine, when the run
// started, the programs that evaluated it and the documents it read.
#pragma once

#include "eval/Document.h"
#include "eval/PluginSet.h"

#include <string>
#include <utility>
#include <vector>

namespace corehost {

struct RunInfo {
    std::string host;            // the host name (gethostname)
    std::string started;         // UTC, as 2026-12-07T11:26:59Z
    std::string corehostVersion; // corehost's own version
    // Each plug-in's name and version ("1.2.0.0"), in load order.
    std::vector<std::pair<std::string, std::string>> plugins;
    std::vector<std::string> documents; // the documents' sources, in order

    // This machine, now, with the loaded `plugins` and the `documents` read.
    static RunInfo collect(PluginSet& plugins, const std::vector<Document>& documents);
};

// corehost's version.
const char* corehostVersion();

} // namespace corehost
