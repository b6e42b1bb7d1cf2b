// Listing the registered expressions with their kinds, and their descriptions.
#include "cli/ListCommand.h"

#include "eval/ExpressionKind.h"
#include "eval/TextConversion.h"
#include "eval/ValueRules.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>

namespace corehost {

namespace {

using Json = nlohmann::json;

// The kind of a new instance of `name`, or "unavailable".
std::string instanceKind(PluginSDK::Plugin& plugin, const std::wstring& name) {
    PluginSDK::Expression* expression = nullptr;
    std::string kind = "unavailable";
    if (plugin.createExpression(name.c_str(), &expression) == 0 && expression)
        kind = describeKind(*expression);
    if (expression)
        plugin.destroyExpression(expression);
    return kind;
}

// " scalar", " vector" or "" for children of either kind.
const char* childKind(const ExpressionDescription& expression) {
    if (expression.children == ChildKinds::Scalar)
        return " scalar";
    return expression.children == ChildKinds::Vector ? " vector" : "";
}

std::string count(std::size_t number, const char* kind) {
    return std::to_string(number) + kind + (number == 1 ? " child" : " children");
}

// "scalar operator, exactly 2 scalar children", "vector operand", ...
std::string describeShape(const ExpressionDescription& expression) {
    std::string text = expression.kindName();
    if (!expression.isOperator)
        return text;
    const char* kind = childKind(expression);
    if (expression.pairs)
        return text + "," + kind + " condition/value pairs";
    if (expression.minChildren == expression.maxChildren)
        text += ", exactly " + count(expression.minChildren, kind);
    else if (expression.maxChildren == kAnyNumber)
        text += std::string(", any") + kind + " children";
    else if (expression.minChildren == 0)
        text += ", at most " + count(expression.maxChildren, kind);
    else
        text += ", " + std::to_string(expression.minChildren) + " to " +
                count(expression.maxChildren, kind);
    if (expression.children == ChildKinds::ScalarOrVector)
        text += ", scalar or vector";
    return text;
}

// "`field` (required, -11027): `size`, `inode` or `atime` (else -11011)"
std::string describeProperty(const PropertyDescription& property) {
    std::string text = "`" + property.name + "`";
    if (property.missingCode != 0)
        text += " (required, " + std::to_string(property.missingCode) + ")";
    std::string detail;
    if (property.rule != ValueRule::Text && property.rule != ValueRule::Paths)
        detail = describeAccepted(property, true);
    if (property.invalidCode != 0)
        detail += " (else " + std::to_string(property.invalidCode) + ")";
    if (!property.note.empty())
        detail += (detail.empty() ? "" : "; ") + std::string(property.note);
    return detail.empty() ? text : text + ": " + detail;
}

Json describeChildren(const ExpressionDescription& expression) {
    Json json{{"min", expression.minChildren},
              {"max",
               expression.maxChildren == kAnyNumber ? Json(nullptr) : Json(expression.maxChildren)},
              {"results", expression.children == ChildKinds::Scalar   ? "scalar"
                          : expression.children == ChildKinds::Vector ? "vector"
                                                                      : "scalar or vector"},
              {"pairs", expression.pairs}};
    // Which children must be truth values, when some must.
    if (expression.truthChildren != TruthChildren::None)
        json["truthValues"] =
            expression.truthChildren == TruthChildren::Every ? "every" : "conditions";
    return json;
}

Json describePropertyJson(const PropertyDescription& property) {
    Json json{{"name", property.name},
              {"required", property.missingCode != 0},
              {"accepts", describeAccepted(property, false)}};
    if (property.missingCode != 0)
        json["missingCode"] = property.missingCode;
    if (property.rule == ValueRule::OneOf)
        json["values"] = property.values;
    if (property.invalidCode != 0)
        json["invalidCode"] = property.invalidCode;
    if (!property.note.empty())
        json["note"] = property.note;
    return json;
}

} // namespace

int ListCommand::run() {
    const bool several = m_Plugins.modules().size() > 1;
    std::size_t width = 0;
    for (const std::shared_ptr<PluginModule>& module : m_Plugins.modules())
        for (const std::wstring& name : module->names())
            width = std::max(width, name.size());
    for (const std::shared_ptr<PluginModule>& module : m_Plugins.modules()) {
        const std::string& plugin = module->name();
        for (const std::wstring& name : module->names()) {
            const std::string kind = instanceKind(module->plugin(), name);
            m_Out << toUtf8(name) << std::string(width + 2 - name.size(), ' ') << kind;
            if (several)
                m_Out << std::string(kind.size() < 17 ? 17 - kind.size() : 1, ' ') << plugin;
            m_Out << '\n';
        }
    }
    return 0;
}

int ListCommand::runJson() {
    for (const std::shared_ptr<PluginModule>& module : m_Plugins.modules()) {
        const PluginDescription* description = module->description();
        for (const std::wstring& wide : module->names()) {
            const std::string name = toUtf8(wide);
            const std::string kind = instanceKind(module->plugin(), wide);
            Json line{{"name", name}, {"kind", kind}, {"plugin", module->name()}};
            const ExpressionDescription* expression =
                description ? description->findExpression(name) : nullptr;
            if (expression) {
                if (kind != expression->kindName())
                    m_Err << "corehost: warning: the plug-in's " << name << " is a " << kind
                          << ", its description says a " << expression->kindName() << '\n';
                if (expression->isOperator)
                    line["children"] = describeChildren(*expression);
                line["properties"] = Json::array();
                for (const PropertyDescription& property : expression->properties)
                    line["properties"].push_back(describePropertyJson(property));
                line["result"] = expression->summary;
                line["resultText"] = describeResultText(expression->result);
            }
            m_Out << line.dump() << '\n';
        }
    }
    return 0;
}

int ListCommand::runMarkdown() {
    const bool several = m_Plugins.modules().size() > 1;
    bool first = true;
    for (const std::shared_ptr<PluginModule>& module : m_Plugins.modules()) {
        // A plug-in without a description has no table.
        const PluginDescription* description = module->description();
        if (!description)
            continue;
        if (several)
            m_Out << (first ? "" : "\n") << "#### " << module->name() << "\n\n";
        first = false;
        m_Out << "| # | Name | Kind | Properties | Result |\n|---|---|---|---|---|\n";
        std::size_t number = 0;
        for (const ExpressionDescription& expression : description->expressions) {
            std::string properties;
            for (const PropertyDescription& property : expression.properties)
                properties += (properties.empty() ? "" : "<br>") + describeProperty(property);
            m_Out << "| " << ++number << " | " << expression.name << " | "
                  << describeShape(expression) << " | "
                  << (properties.empty() ? "none" : properties) << " | " << expression.summary
                  << " |\n";
        }
    }
    return 0;
}

} // namespace corehost
