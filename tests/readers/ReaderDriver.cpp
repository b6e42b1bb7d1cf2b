// Evaluates SystemPlugin expressions named on standard input, one a line:
//   SET NAME HEX             a plug-in property (the value hex-encoded)
//   EXPRESSION NAME HEX ...  the expression with its properties
// and prints, per expression, its code and its values hex-encoded ("-" for an
// empty text), separated by blanks: "0 3132", "0" (an empty list), "-12014".
#include "PluginKit/TextLines.h"
#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/VectorExpression.h"
#include "SystemPlugin/ExpressionFactory.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/common/PropertyText.h"

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring unhex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return PluginKit::TextLines::decode(bytes);
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes)
        out += {digits[c >> 4], digits[c & 15]};
    return out.empty() ? "-" : out;
}

} // namespace

int main() {
    auto context = std::make_unique<SystemPlugin::PluginContext>();
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string name, property, value;
        words >> name;
        if (name == "SET") {
            words >> property >> value;
            context->setProperty(unhex(property).c_str(), unhex(value).c_str());
            continue;
        }
        std::unique_ptr<PluginSDK::Expression> expression(
            SystemPlugin::createExpression(unhex(name).c_str(), *context));
        if (!expression) {
            std::cout << "unknown\n";
            continue;
        }
        while (words >> property >> value)
            expression->setProperty(unhex(property).c_str(), unhex(value).c_str());
        std::vector<std::string> values;
        long code = 0;
        if (expression->getType() == PluginSDK::SCALAR_EXPRESSION) {
            PluginSDK::String result;
            code = static_cast<PluginSDK::ScalarExpression&>(*expression).getScalarResult(result);
            values.push_back(SystemPlugin::utf8Of(result));
        } else {
            PluginSDK::StringVector result;
            code = static_cast<PluginSDK::VectorExpression&>(*expression).getVectorResult(result);
            for (int i = 0; i < result.size(); ++i)
                values.push_back(SystemPlugin::utf8Of(result[i]));
        }
        std::cout << code;
        for (const std::string& text : values)
            std::cout << ' ' << (code == 0 ? hex(text) : "");
        std::cout << std::endl;
    }
}
