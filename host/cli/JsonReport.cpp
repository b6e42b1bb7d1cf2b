// The JSON report: one object per rule, one per line. A rule without an
// expectation or metadata keeps the keys id, type, code, error, result (and
// node, expression when it failed); the others add status, expected and their
// metadata.
#include "cli/Report.h"

#include "eval/ExpressionKind.h"
#include "eval/TextConversion.h"

#include <nlohmann/json.hpp>

namespace corehost {

namespace {

using Json = nlohmann::json;

// `line` with U+0085, U+2028 and U+2029 written as \u escapes: JSON may carry
// them as they are, but readers that split lines the Unicode way would see a
// line end in them. Their UTF-8 forms occur only inside strings.
std::string escapeLineSeparators(std::string line) {
    const std::pair<const char*, const char*> separators[] = {
        {"\xC2\x85", "\\u0085"}, {"\xE2\x80\xA8", "\\u2028"}, {"\xE2\x80\xA9", "\\u2029"}};
    for (const auto& separator : separators) {
        const std::string from = separator.first;
        for (std::size_t at = line.find(from); at != std::string::npos;
             at = line.find(from, at + 6))
            line.replace(at, from.size(), separator.second);
    }
    return line;
}

Json expectedValue(const Expectation& expectation) {
    if (expectation.isList)
        return Json(expectation.values);
    return Json(expectation.values.empty() ? std::string() : expectation.values.front());
}

Json countsJson(const StatusCounts& counts) {
    return {{"passed", counts.passed},
            {"failed", counts.failed},
            {"errors", counts.errors},
            {"withoutExpectation", counts.withoutExpectation},
            {"skipped", counts.skipped}};
}

Json runJson(const RunInfo& run) {
    Json plugins = Json::array();
    for (const auto& plugin : run.plugins)
        plugins.push_back({{"name", plugin.first}, {"version", plugin.second}});
    return {{"host", run.host},
            {"started", run.started},
            {"corehost", run.corehostVersion},
            {"plugins", plugins},
            {"documents", run.documents}};
}

class JsonReporter : public Reporter {
public:
    JsonReporter(std::ostream& out, const ReportStyle& style)
        : m_Out(out), m_SeveralDocuments(style.severalDocuments), m_Run(style.run) {}

    void rule(const RuleReport& report) override {
        const Rule& rule = *report.rule;
        const ExpressionTree& tree = *report.tree;
        // An object from the start: a null value that turns into one on the
        // first key would be destroyed half-made if that allocation failed.
        Json line = Json::object();
        line["id"] = report.document->isRuleList ? Json(rule.id) : Json(nullptr);
        line["type"] = describeType(tree.type());
        line["code"] = report.code;
        const PluginModule* module = failingModule(report);
        line["error"] = codeMeaning(report.code, module);
        if (report.code != 0) {
            line["result"] = nullptr;
            line["node"] = tree.nodePath(tree.failure().node);
            line["expression"] = toUtf8(tree.nodeName(tree.failure().node));
            if (!report.reason.empty())
                line["reason"] = report.reason;
        } else if (report.status == RuleStatus::Skipped) {
            line["result"] = nullptr;
            line["skipped"] = describeSkip(report, 200);
        } else if (tree.type() == PluginSDK::SCALAR_EXPRESSION) {
            line["result"] = report.result.front();
        } else {
            line["result"] = Json(report.result);
        }
        if (rule.expect || hasMetadata(rule) || report.status == RuleStatus::Skipped) {
            line["status"] = statusName(report.status);
            if (rule.expect)
                line["expected"] = expectedValue(*rule.expect);
            if (!report.found.empty())
                line["found"] = report.found;
            const std::pair<const char*, const std::string*> texts[] = {
                {"title", &rule.title},
                {"description", &rule.description},
                {"severity", &rule.severity}};
            for (const auto& text : texts)
                if (!text.second->empty())
                    line[text.first] = *text.second;
            if (!rule.tags.empty())
                line["tags"] = Json(rule.tags);
        }
        if (m_SeveralDocuments)
            line["document"] = report.document->source;
        if (!report.explanation.empty())
            line["explanation"] = Json(report.explanation);
        write(line);
    }

    // The last line: {"summary": {"passed": N, ..., "bySection": {...},
    // "bySeverity": {...}}, "run": {...}}.
    void summary(const Summary& counts) override {
        Json line;
        line["summary"] = countsJson(counts);
        line["summary"]["rules"] = counts.rules;
        if (!counts.root.empty())
            line["summary"]["root"] = counts.root;
        for (const auto& group : {std::make_pair("bySection", &counts.bySection),
                                  std::make_pair("bySeverity", &counts.bySeverity)}) {
            Json& groups = line["summary"][group.first] = Json::object();
            for (const auto& entry : *group.second)
                groups[entry.first] = countsJson(entry.second);
        }
        if (m_Run)
            line["run"] = runJson(*m_Run);
        write(line);
    }

    void inputError(const std::string& message) override {
        Json line;
        line["error"] = message;
        line["summary"] = {{"passed", 0},  {"failed", 0}, {"errors", 0}, {"withoutExpectation", 0},
                           {"skipped", 0}, {"rules", 0}};
        write(line);
    }

private:
    void write(const Json& line) {
        // Texts from a file name may hold bytes that are not UTF-8.
        m_Out << escapeLineSeparators(line.dump(-1, ' ', false, Json::error_handler_t::replace))
              << '\n';
    }

    std::ostream& m_Out;
    bool m_SeveralDocuments;
    const RunInfo* m_Run;
};

} // namespace

std::unique_ptr<Reporter> makeJsonReporter(std::ostream& out, const ReportStyle& style) {
    return std::make_unique<JsonReporter>(out, style);
}

} // namespace corehost
