// corehost check: validates documents without evaluating anything.
#pragma once

#include "eval/Document.h"
#include "eval/PluginSet.h"

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace corehost {

// Plug-in settings given with --set, as UTF-8 name and value.
using Settings = std::vector<std::pair<std::string, std::string>>;

class CheckCommand {
public:
    CheckCommand(PluginSet& plugins, std::ostream& out, std::ostream& err,
                 Settings settings = Settings())
        : m_Plugins(plugins), m_Out(out), m_Err(err), m_Settings(std::move(settings)) {}

    // Reads each file ("-" for standard input) and checks its trees against
    // the catalog and the plug-in's registered names; rule ids must be unique
    // across the files. Findings go to `out`, one a line, naming the
    // document, the rule and the node; documents that cannot be read go to
    // `err`. Returns 0 when clean, 1 with findings, 2 when a file could not be
    // read as a document. With `withRules`, the rules of the documents read
    // follow the findings on `out` (see listRules). With `inlineText`, that
    // text is the one document ("<inline>") and `files` is not read.
    int run(const std::vector<std::string>& files, bool withRules = false,
            const std::optional<std::string>& inlineText = std::nullopt);

    // Writes each rule of `documents` as one line: id, severity, tags (joined
    // by commas) and title, separated by tabs, an absent one empty. A tab or
    // line break inside a field is written as a space, so every rule stays one
    // line of four fields. A single-tree document has no rules and lists nothing.
    void listRules(const std::vector<Document>& documents);

    // Writes the findings of the settings and of every rule of `document`,
    // one a line after `prefix`, to `out`; returns how many there were.
    std::size_t reportSettings(const std::string& prefix);
    std::size_t report(const Document& document, const std::string& prefix);

private:
    // Whether the host has the catalog of every loaded plug-in.
    bool knownPlugin() const;

    PluginSet& m_Plugins;
    std::ostream& m_Out;
    std::ostream& m_Err;
    Settings m_Settings;
};

} // namespace corehost
