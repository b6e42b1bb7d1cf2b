// Text and JSON forms of results.
#include "cli/ResultPrinter.h"

#include "ResultCodes.h"
#include "eval/ExpressionKind.h"
#include "eval/TextConversion.h"

#include <nlohmann/json.hpp>

namespace corehost {

void ResultPrinter::print(const Rule& rule, const ExpressionTree& tree, TErrorCode code) {
    if (m_Json)
        printJson(rule, tree, code);
    else
        printText(rule, tree, code);
}

void ResultPrinter::printText(const Rule& rule, const ExpressionTree& tree, TErrorCode code) {
    if (m_RuleList)
        m_Out << '[' << rule.id << "]\n";
    if (code != 0)
        return; // the failure goes to standard error
    if (tree.type() == PluginSDK::SCALAR_EXPRESSION) {
        m_Out << toUtf8(tree.scalarResult().str()) << '\n';
        return;
    }
    for (const PluginSDK::String& item : tree.vectorResult().items())
        m_Out << toUtf8(item.str()) << '\n';
}

void ResultPrinter::printJson(const Rule& rule, const ExpressionTree& tree, TErrorCode code) {
    nlohmann::json line;
    line["id"] = m_RuleList ? nlohmann::json(rule.id) : nlohmann::json(nullptr);
    line["type"] = describeType(tree.type());
    line["code"] = code;
    line["error"] = CorePlugin::describeResultCode(code);
    if (code != 0) {
        line["result"] = nullptr;
        line["node"] = tree.nodePath(tree.failure().node);
        line["expression"] = toUtf8(tree.nodeName(tree.failure().node));
    } else if (tree.type() == PluginSDK::SCALAR_EXPRESSION) {
        line["result"] = toUtf8(tree.scalarResult().str());
    } else {
        nlohmann::json items = nlohmann::json::array();
        for (const PluginSDK::String& item : tree.vectorResult().items())
            items.push_back(toUtf8(item.str()));
        line["result"] = std::move(items);
    }
    m_Out << line.dump() << '\n';
}

} // namespace corehost
