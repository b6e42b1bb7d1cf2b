// The pages' shared head, style and tables.
#include "cli/HtmlPage.h"

#include "cli/HtmlText.h"
#include "cli/Severity.h"

namespace corehost {

namespace {

// System fonts, dark text on white, status shown in words as well as colour,
// and nothing hidden when printed.
constexpr const char* kStyle = R"css(
:root{color-scheme:light}
body{font-family:system-ui,-apple-system,"Segoe UI",Roboto,"Noto Sans",sans-serif;color:#111;background:#fff;margin:1.5rem auto;max-width:72rem;padding:0 1rem;line-height:1.45}
code,pre,.id{font-family:ui-monospace,"DejaVu Sans Mono",Menlo,Consolas,monospace;font-size:.92em}
pre{white-space:pre-wrap;overflow-wrap:anywhere;background:#f4f4f4;padding:.5rem;border:1px solid #ccc}
h1{font-size:1.6rem}h2{font-size:1.3rem;border-bottom:2px solid #333;margin-top:2rem}h3{font-size:1.1rem}
table{border-collapse:collapse;margin:.5rem 0}th,td{border:1px solid #999;padding:.2rem .5rem;text-align:left;vertical-align:top}
th{background:#eee}td.n{text-align:right}
dl.run{display:grid;grid-template-columns:max-content auto;gap:.1rem 1rem}dl.run dt{font-weight:bold}dl.run dd{margin:0}
article.rule{border:1px solid #999;border-left:.5rem solid #999;padding:.3rem .8rem;margin:.8rem 0;break-inside:avoid}
article.fail{border-left-color:#b00020}article.error{border-left-color:#8a4b00}
.status{font-weight:bold;padding:0 .3rem;border:1px solid currentColor}
.fail .status,td.fail,td.f{color:#b00020}.error .status,td.error,td.e{color:#8a4b00}td.pass{color:#0a6b1f}td.f,td.e{font-weight:bold}
.severity{font-weight:bold}
.filters label{margin-right:1rem}
#matrix{table-layout:fixed}#matrix td{padding:0 .2rem}
section.host,.matrix{content-visibility:auto;contain-intrinsic-size:auto 40rem}
@media print{body{margin:0;max-width:none}section.host,.matrix{content-visibility:visible}details::details-content{content-visibility:visible;display:block}.filters{display:none}a{color:inherit;text-decoration:none}}
)css";

} // namespace

void writePageHead(std::ostream& out, const std::string& title, bool inlineScript) {
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
        << "style-src 'unsafe-inline'; script-src " << (inlineScript ? "'unsafe-inline'" : "'none'")
        << "\">\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>"
        << escapeHtml(title) << "</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n";
}

void writePageEnd(std::ostream& out) {
    out << "</body>\n</html>\n";
}

void writeRunDetails(std::ostream& out, const RunInfo& run) {
    const auto row = [&out](const char* name, const std::string& value) {
        out << "<dt>" << name << "</dt><dd>" << (value.empty() ? "unknown" : escapeHtml(value))
            << "</dd>\n";
    };
    out << "<dl class=\"run\">\n";
    row("Host", run.host);
    row("Started", run.started);
    row("corehost", run.corehostVersion);
    for (const auto& plugin : run.plugins)
        row("Plug-in", plugin.first + " " + plugin.second);
    for (const std::string& document : run.documents)
        row("Document", document);
    out << "</dl>\n";
}

void writeCountsTable(std::ostream& out, const Summary& counts) {
    out << "<table class=\"counts\">\n<thead><tr><th scope=\"col\">Rules</th><th "
           "scope=\"col\">Passed</th><th scope=\"col\">Failed</th><th "
           "scope=\"col\">Erred</th><th scope=\"col\">Skipped</th><th scope=\"col\">No "
           "expectation</th></tr></thead>\n<tbody>\n";
    const auto row = [&out](const char* kind, const std::string& name, const StatusCounts& c) {
        out << "<tr data-group=\"" << kind << "\"><th scope=\"row\">" << escapeHtml(name)
            << "</th><td class=\"n\">" << c.passed << "</td><td class=\"n\">" << c.failed
            << "</td><td class=\"n\">" << c.errors << "</td><td class=\"n\">" << c.skipped
            << "</td><td class=\"n\">" << c.withoutExpectation << "</td></tr>\n";
    };
    row("all", "All rules", counts);
    for (const auto& entry : bySeverityOrder(counts))
        row("severity", severityWords(entry.first), entry.second);
    for (const auto& entry : counts.bySection)
        row("section", entry.first == kNoSection ? entry.first : "section " + entry.first,
            entry.second);
    out << "</tbody>\n</table>\n";
}

const char* statusWord(const std::string& status) {
    if (status == "pass")
        return "passed";
    if (status == "fail")
        return "FAILED";
    if (status == "error")
        return "ERROR";
    if (status == "skip")
        return "skipped";
    return "no expectation";
}

std::string severityWords(const std::string& severity) {
    return severity.empty() || severity == kNoSeverity ? "no severity" : "severity " + severity;
}

} // namespace corehost
