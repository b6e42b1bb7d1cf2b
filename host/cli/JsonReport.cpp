// The JSON report: one object per rule, one per line. A rule without an
// expectation or metadata keeps the keys id, type, code, error, result (and
// node, expression when it failed); the others add status, expected and their
// metadata.
#include "cli/Report.h"

#include "eval/Catalog.h"
#include "eval/ExpressionKind.h"
#include "eval/TextConversion.h"

#include <nlohmann/json.hpp>

namespace corehost {

namespace {

using Json = nlohmann::json;

Json expectedValue(const Expectation& expectation) {
    if (expectation.isList)
        return Json(expectation.values);
    return Json(expectation.values.empty() ? std::string() : expectation.values.front());
}

class JsonReporter : public Reporter {
public:
    JsonReporter(std::ostream& out, bool severalDocuments)
        : m_Out(out), m_SeveralDocuments(severalDocuments) {}

    void rule(const RuleReport& report) override {
        const Rule& rule = *report.rule;
        const ExpressionTree& tree = *report.tree;
        Json line;
        line["id"] = report.document->isRuleList ? Json(rule.id) : Json(nullptr);
        line["type"] = describeType(tree.type());
        line["code"] = report.code;
        line["error"] = codeMeaning(report.code);
        if (report.code != 0) {
            line["result"] = nullptr;
            line["node"] = tree.nodePath(tree.failure().node);
            line["expression"] = toUtf8(tree.nodeName(tree.failure().node));
        } else if (tree.type() == PluginSDK::SCALAR_EXPRESSION) {
            line["result"] = report.result.front();
        } else {
            line["result"] = Json(report.result);
        }
        if (rule.expect || hasMetadata(rule)) {
            line["status"] = statusName(report.status);
            if (rule.expect)
                line["expected"] = expectedValue(*rule.expect);
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
        // Texts from a file name may hold bytes that are not UTF-8.
        m_Out << line.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    }

private:
    std::ostream& m_Out;
    bool m_SeveralDocuments;
};

} // namespace

std::unique_ptr<Reporter> makeJsonReporter(std::ostream& out, bool severalDocuments) {
    return std::make_unique<JsonReporter>(out, severalDocuments);
}

} // namespace corehost
