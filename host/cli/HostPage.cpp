// The page of one host's rules.
#include "cli/HostPage.h"

#include "cli/HtmlPage.h"
#include "cli/HtmlText.h"
#include "cli/Severity.h"

#include <algorithm>
#include <map>

namespace corehost {

namespace {

bool isProblem(const RuleRecord& rule) {
    return rule.status == "fail" || rule.status == "error";
}

void writeProblem(std::ostream& out, const RuleRecord& rule, std::size_t index) {
    out << "<article class=\"rule " << (rule.status == "fail" ? "fail" : "error") << "\" id=\"r"
        << index << "\" data-status=\"" << (rule.status == "fail" ? "fail" : "error")
        << "\">\n<h4><span class=\"status\">" << statusWord(rule.status)
        << "</span> <span class=\"severity\">" << escapeHtml(severityWords(rule.severity))
        << "</span> &middot; <span class=\"title\">"
        << escapeHtml(rule.title.empty() ? rule.id : rule.title) << "</span></h4>\n"
        << "<p>Rule <code class=\"id\">" << escapeHtml(rule.id) << "</code></p>\n";
    if (!rule.description.empty())
        out << "<p class=\"description\">" << escapeHtml(rule.description) << "</p>\n";
    out << "<dl>\n";
    if (!rule.expected.empty())
        out << "<dt>Expected</dt><dd><code class=\"expected\">" << escapeHtml(rule.expected)
            << "</code></dd>\n";
    if (!rule.actual.empty())
        out << "<dt>Actual</dt><dd><code class=\"actual\">" << escapeHtml(rule.actual)
            << "</code></dd>\n";
    out << "<dt>Reason</dt><dd class=\"reason\">" << escapeHtml(rule.reason) << "</dd>\n</dl>\n";
    if (!rule.explanation.empty()) {
        out << "<details><summary>How the tree was evaluated</summary><pre>";
        for (const std::string& line : rule.explanation)
            out << escapeHtml(line) << '\n';
        out << "</pre></details>\n";
    }
    out << "</article>\n";
}

} // namespace

void writeHostPage(std::ostream& out, const HostRecord& host) {
    writePageHead(out, "corehost report: " + host.run.host, false);
    out << "<header>\n<h1>corehost report: " << escapeHtml(host.run.host) << "</h1>\n";
    writeRunDetails(out, host.run);
    out << "</header>\n<main>\n";
    if (!host.error.empty())
        out << "<p class=\"input-error\"><strong>Nothing was evaluated:</strong> "
            << escapeHtml(host.error) << "</p>\n";
    out << "<section id=\"summary\">\n<h2>Summary</h2>\n";
    writeCountsTable(out, host.counts);
    out << "</section>\n";

    // The failed and erred rules by section, the most severe first in each.
    std::map<std::string, std::vector<std::size_t>> problems;
    for (std::size_t i = 0; i < host.rules.size(); ++i)
        if (isProblem(host.rules[i]))
            problems[host.rules[i].section].push_back(i);
    out << "<section id=\"problems\">\n<h2>Failed and erred rules</h2>\n";
    if (problems.empty())
        out << "<p>None.</p>\n";
    for (auto& section : problems) {
        std::stable_sort(
            section.second.begin(), section.second.end(), [&host](std::size_t a, std::size_t b) {
                return severityRank(host.rules[a].severity) > severityRank(host.rules[b].severity);
            });
        out << "<section class=\"section\">\n<h3>"
            << escapeHtml(section.first == kNoSection ? section.first : "Section " + section.first)
            << "</h3>\n";
        for (const std::size_t i : section.second)
            writeProblem(out, host.rules[i], i);
        out << "</section>\n";
    }
    out << "</section>\n";

    out << "<section id=\"others\">\n<h2>Other rules</h2>\n<table>\n<thead><tr><th "
           "scope=\"col\">Status</th><th scope=\"col\">Severity</th><th "
           "scope=\"col\">Section</th><th scope=\"col\">Rule</th><th scope=\"col\">Title</th><th "
           "scope=\"col\">Result</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < host.rules.size(); ++i) {
        const RuleRecord& rule = host.rules[i];
        if (isProblem(rule))
            continue;
        out << "<tr id=\"r" << i << "\" data-status=\"" << escapeHtml(rule.status)
            << "\"><td class=\"" << escapeHtml(rule.status) << "\">" << statusWord(rule.status)
            << "</td><td>" << escapeHtml(rule.severity.empty() ? "none" : rule.severity)
            << "</td><td>" << escapeHtml(rule.section) << "</td><td><code class=\"id\">"
            << escapeHtml(rule.id) << "</code></td><td>" << escapeHtml(rule.title) << "</td><td>"
            << escapeHtml(rule.status == "skip" ? rule.reason : rule.actual) << "</td></tr>\n";
    }
    out << "</tbody>\n</table>\n</section>\n</main>\n";
    writePageEnd(out);
}

} // namespace corehost
