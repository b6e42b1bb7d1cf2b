// corehost check: validates documents without evaluating anything.
#pragma once

#include "eval/Document.h"
#include "eval/DocumentCheck.h"
#include "eval/PluginSet.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace corehost {

class CheckCommand {
public:
    CheckCommand(PluginSet& plugins, std::ostream& out, std::ostream& err,
                 std::vector<Setting> settings = {})
        : m_Plugins(plugins), m_Out(out), m_Err(err), m_Settings(std::move(settings)) {}

    // Reads each file ("-" for standard input) and checks its trees against
    // the descriptions of the loaded plug-ins; rule ids must be unique across
    // the files. Findings go to `out`, one a line, naming the document, the
    // rule and the node; documents that cannot be read go to `err`, and so
    // does a note, once, for plug-ins without a description. Returns 0 when
    // clean, 1 with findings, 2 when a file could not be read as a document.
    // With `withRules`, the rules of the documents read follow the findings
    // on `out` (see listRules). With `inlineText`, that text is the one
    // document ("<inline>") and `files` is not read.
    int run(const std::vector<std::string>& files, bool withRules = false,
            const std::optional<std::string>& inlineText = std::nullopt);

    // Writes each rule of `documents` as one line: id, severity, tags (joined
    // by commas) and title, separated by tabs, an absent one empty. A tab or
    // line break inside a field is written as a space, so every rule stays one
    // line of four fields. A single-tree document has no rules and lists nothing.
    void listRules(const std::vector<Document>& documents);

private:
    PluginSet& m_Plugins;
    std::ostream& m_Out;
    std::ostream& m_Err;
    std::vector<Setting> m_Settings;
};

} // namespace corehost
