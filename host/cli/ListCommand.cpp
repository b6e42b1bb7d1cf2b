// Listing the registered expressions with their kinds.
#include "cli/ListCommand.h"

#include "eval/ExpressionKind.h"
#include "eval/TextConversion.h"

#include <algorithm>
#include <string>

namespace corehost {

int ListCommand::run() {
    PluginSDK::Plugin& plugin = m_Module.plugin();
    std::size_t width = 0;
    for (const std::wstring& name : m_Module.names())
        width = std::max(width, name.size());
    for (const std::wstring& name : m_Module.names()) {
        PluginSDK::Expression* expression = nullptr;
        const char* kind = "unavailable";
        if (plugin.createExpression(name.c_str(), &expression) == 0 && expression)
            kind = describeKind(*expression);
        if (expression)
            plugin.destroyExpression(expression);
        const std::string text = toUtf8(name);
        m_Out << text << std::string(width + 2 - name.size(), ' ') << kind << '\n';
    }
    return 0;
}

} // namespace corehost
