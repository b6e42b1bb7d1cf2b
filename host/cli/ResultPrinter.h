// Writes the results of evaluated rules to standard output, as text or as one
// JSON object per rule.
#pragma once

#include "eval/Document.h"
#include "eval/ExpressionTree.h"

#include <ostream>

namespace corehost {

class ResultPrinter {
public:
    ResultPrinter(std::ostream& out, bool json, bool ruleList)
        : m_Out(out), m_Json(json), m_RuleList(ruleList) {}

    // The result of `rule` after an evaluation that returned `code`.
    void print(const Rule& rule, const ExpressionTree& tree, TErrorCode code);

private:
    void printText(const Rule& rule, const ExpressionTree& tree, TErrorCode code);
    void printJson(const Rule& rule, const ExpressionTree& tree, TErrorCode code);

    std::ostream& m_Out;
    bool m_Json;
    bool m_RuleList;
};

} // namespace corehost
