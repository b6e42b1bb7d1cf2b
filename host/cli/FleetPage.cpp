// The fleet page: hosts ranked by their failures, the host x rule matrix with
// its filters, and each host's reasons and changes.
#include "cli/FleetCommand.h"

#include "cli/HtmlPage.h"
#include "cli/HtmlText.h"
#include "cli/Severity.h"
#include "cli/StatusChange.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace corehost {

namespace {

// Shows the filters and applies them: columns by section and severity, rows
// by a part of the host name. It reads the page's texts as data only.
constexpr const char* kFilterScript = R"js(
(function () {
  var filters = document.getElementById('filters');
  var table = document.getElementById('matrix');
  if (!filters || !table) return;
  filters.hidden = false;
  var heads = table.tHead.rows[0].cells;
  var section = document.getElementById('f-section');
  var severity = document.getElementById('f-severity');
  var host = document.getElementById('f-host');
  function apply() {
    var show = [];
    for (var i = 1; i < heads.length; i++) {
      show[i] = (!section.value || heads[i].dataset.section === section.value) &&
                (!severity.value || heads[i].dataset.severity === severity.value);
      heads[i].hidden = !show[i];
    }
    var part = host.value.toLowerCase();
    var rows = table.tBodies[0].rows;
    for (var r = 0; r < rows.length; r++) {
      var row = rows[r];
      row.hidden = part !== '' && row.dataset.host.toLowerCase().indexOf(part) < 0;
      if (row.hidden) continue;
      for (var c = 1; c < row.cells.length; c++) row.cells[c].hidden = !show[c];
    }
  }
  section.onchange = apply;
  severity.onchange = apply;
  host.oninput = apply;
})();
)js";

struct ColumnRule {
    std::string id;
    std::string section;
    std::string severity;
    std::string title;
};

struct RankedHost {
    const HostRecord* host;
    unsigned long weight = 0; // failed and erred rules, weighted by severity
};

bool linked(const std::string& status) {
    return status == "fail" || status == "error" || status == "skip";
}

const char* cellText(const std::string& status) {
    if (status == "pass")
        return "ok";
    if (status == "fail")
        return "FAIL";
    if (status == "error")
        return "ERR";
    if (status == "skip")
        return "skip";
    return "n/a";
}

void writeOption(std::ostream& out, const std::string& value, const std::string& label) {
    out << "<option value=\"" << escapeHtml(value) << "\">" << escapeHtml(label) << "</option>";
}

} // namespace

void writeFleetPage(std::ostream& out, const std::map<std::string, HostRecord>& hosts,
                    const std::map<std::string, HostRecord>& earlier,
                    const std::map<std::string, std::string>& outcomes,
                    const std::vector<std::string>& unreadable) {
    // The columns: every rule id in the order the reports give them.
    std::vector<ColumnRule> columns;
    std::unordered_map<std::string, std::size_t> columnOf;
    std::vector<RankedHost> ranked;
    for (const auto& entry : hosts) {
        RankedHost rank{&entry.second};
        for (const RuleRecord& rule : entry.second.rules) {
            if (columnOf.emplace(rule.id, columns.size()).second)
                columns.push_back(ColumnRule{rule.id, rule.section, rule.severity, rule.title});
            if (rule.status == "fail" || rule.status == "error")
                rank.weight += severityWeight(rule.severity);
        }
        ranked.push_back(rank);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const RankedHost& a, const RankedHost& b) { return a.weight > b.weight; });

    writePageHead(out, "corehost fleet report", true);
    out << "<header>\n<h1>corehost fleet report</h1>\n<p>" << hosts.size()
        << (hosts.size() == 1 ? " host" : " hosts") << " with a report, " << columns.size()
        << (columns.size() == 1 ? " rule" : " rules") << ".</p>\n</header>\n<main>\n";

    out << "<section id=\"ranking\">\n<h2>Hosts by failed rules</h2>\n<p>Weight: each failed or "
           "erred rule counts 16 (critical), 8 (high), 4 (medium), 2 (low) or 1 (info or no "
           "severity).</p>\n<table>\n<thead><tr><th scope=\"col\">Host</th><th "
           "scope=\"col\">Weight</th><th scope=\"col\">Failed</th><th scope=\"col\">Erred</th><th "
           "scope=\"col\">Passed</th><th scope=\"col\">Skipped</th><th scope=\"col\">No "
           "expectation</th><th scope=\"col\">Outcome</th><th scope=\"col\">Report started</th>"
        << (earlier.empty() ? "" : "<th scope=\"col\">Changed since</th>")
        << "</tr></thead>\n<tbody>\n";
    std::map<const HostRecord*, std::vector<StatusChange>> changes;
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        const HostRecord& host = *ranked[i].host;
        const StatusCounts& c = host.counts;
        const auto outcome = outcomes.find(host.run.host);
        out << "<tr data-host=\"" << escapeHtml(host.run.host)
            << "\"><th scope=\"row\"><a href=\"#h" << i << "\">" << escapeHtml(host.run.host)
            << "</a></th><td class=\"n\">" << ranked[i].weight << "</td><td class=\"n\">"
            << c.failed << "</td><td class=\"n\">" << c.errors << "</td><td class=\"n\">"
            << c.passed << "</td><td class=\"n\">" << c.skipped << "</td><td class=\"n\">"
            << c.withoutExpectation << "</td><td>"
            << (outcome == outcomes.end() ? "" : escapeHtml(outcome->second)) << "</td><td>"
            << escapeHtml(host.error.empty() ? host.run.started : "not evaluated: " + host.error)
            << "</td>";
        if (!earlier.empty()) {
            const auto before = earlier.find(host.run.host);
            if (before == earlier.end()) {
                out << "<td>no earlier report</td>";
            } else {
                changes[&host] = compareRules(before->second, host);
                out << "<td class=\"n\">" << changes[&host].size() << "</td>";
            }
        }
        out << "</tr>\n";
    }
    out << "</tbody>\n</table>\n</section>\n";

    std::vector<std::pair<std::string, std::string>> missing;
    for (const auto& outcome : outcomes)
        if (hosts.count(outcome.first) == 0)
            missing.push_back(outcome);
    if (!missing.empty()) {
        out << "<section id=\"missing\">\n<h2>Hosts without a report</h2>\n<table>\n<thead><tr><th "
               "scope=\"col\">Host</th><th scope=\"col\">Outcome</th></tr></thead>\n<tbody>\n";
        for (const auto& host : missing)
            out << "<tr><th scope=\"row\">" << escapeHtml(host.first) << "</th><td>"
                << escapeHtml(host.second) << "</td></tr>\n";
        out << "</tbody>\n</table>\n</section>\n";
    }
    if (!unreadable.empty()) {
        out << "<section id=\"unreadable\">\n<h2>Reports that could not be read</h2>\n<ul>\n";
        for (const std::string& line : unreadable)
            out << "<li>" << escapeHtml(line) << "</li>\n";
        out << "</ul>\n</section>\n";
    }

    // The matrix, with filters that only a page running its script shows.
    std::set<std::string> sections;
    for (const ColumnRule& column : columns)
        sections.insert(column.section);
    out << "<section id=\"rules\">\n<h2>Rules by host</h2>\n<div id=\"filters\" "
           "class=\"filters\" hidden><label>Section <select id=\"f-section\">";
    writeOption(out, "", "all");
    for (const std::string& section : sections)
        writeOption(out, section, section);
    out << "</select></label><label>Severity <select id=\"f-severity\">";
    writeOption(out, "", "all");
    for (int rank = 4; rank >= 0; --rank)
        writeOption(out, kSeverities[rank], kSeverities[rank]);
    out << "</select></label><label>Host <input id=\"f-host\" type=\"search\"></label></div>\n"
        << "<div class=\"matrix\">\n<table id=\"matrix\">\n<thead><tr><th scope=\"col\">Host</th>";
    for (const ColumnRule& column : columns)
        out << "<th scope=\"col\" data-section=\"" << escapeHtml(column.section)
            << "\" data-severity=\"" << escapeHtml(column.severity) << "\" title=\""
            << escapeHtml(column.title) << "\"><code>" << escapeHtml(column.id) << "</code></th>";
    out << "</tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        const HostRecord& host = *ranked[i].host;
        std::vector<const RuleRecord*> cells(columns.size(), nullptr);
        for (const RuleRecord& rule : host.rules)
            cells[columnOf[rule.id]] = &rule;
        out << "<tr data-host=\"" << escapeHtml(host.run.host) << "\"><th scope=\"row\">"
            << escapeHtml(host.run.host) << "</th>";
        for (std::size_t column = 0; column < cells.size(); ++column) {
            const RuleRecord* rule = cells[column];
            if (!rule)
                out << "<td>";
            else if (!linked(rule->status))
                out << "<td>" << cellText(rule->status);
            else
                out << "<td class=" << rule->status[0] << "><a href=#h" << i << '-' << column << '>'
                    << cellText(rule->status) << "</a>";
        }
        out << "</tr>\n";
    }
    out << "</tbody>\n</table>\n</div>\n</section>\n";

    out << "<section id=\"hosts\">\n<h2>Hosts</h2>\n";
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        const HostRecord& host = *ranked[i].host;
        out << "<section class=\"host\" id=\"h" << i << "\">\n<h3>" << escapeHtml(host.run.host)
            << "</h3>\n<p>Report <code>" << escapeHtml(host.source) << "</code>, started "
            << escapeHtml(host.run.started.empty() ? "unknown" : host.run.started) << ", corehost "
            << escapeHtml(host.run.corehostVersion.empty() ? "unknown" : host.run.corehostVersion)
            << ".</p>\n";
        if (!host.error.empty())
            out << "<p><strong>Nothing was evaluated:</strong> " << escapeHtml(host.error)
                << "</p>\n";
        const auto changed = changes.find(&host);
        if (changed != changes.end() && !changed->second.empty()) {
            out << "<h4>Changed since the earlier report</h4>\n<ul class=\"changes\">\n";
            for (const StatusChange& change : changed->second)
                out << "<li" << (change.worse ? " class=\"fail\"" : "") << "><code>"
                    << escapeHtml(change.id) << "</code> "
                    << escapeHtml(change.before.empty() ? "absent" : statusWord(change.before))
                    << " &rarr; "
                    << escapeHtml(change.after.empty() ? "absent" : statusWord(change.after))
                    << (change.worse ? " (worse)" : "") << "</li>\n";
            out << "</ul>\n";
        }
        out << "<ul class=\"reasons\">\n";
        // Short markup (unquoted id, no end tag): a fleet has many of these.
        for (const RuleRecord& rule : host.rules)
            if (linked(rule.status))
                out << "<li id=h" << i << '-' << columnOf[rule.id] << '>' << statusWord(rule.status)
                    << ' ' << escapeHtml(rule.severity.empty() ? "(no severity)" : rule.severity)
                    << " <code>" << escapeHtml(rule.id) << "</code>: " << escapeHtml(rule.reason)
                    << '\n';
        out << "</ul>\n</section>\n";
    }
    out << "</section>\n</main>\n<script>" << kFilterScript << "</script>\n";
    writePageEnd(out);
}

} // namespace corehost
