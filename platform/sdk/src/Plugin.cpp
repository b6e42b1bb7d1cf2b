// The base class of a plug-in.
#include "PluginSDK/Plugin.h"

#include <algorithm>

namespace PluginSDK {

Plugin::Plugin() = default;
Plugin::~Plugin() = default;

void Plugin::addExpression(const wchar_t* name) {
    if (!name)
        return;
    if (std::find(m_ExpressionNames.begin(), m_ExpressionNames.end(), name) ==
        m_ExpressionNames.end())
        m_ExpressionNames.emplace_back(name);
}

} // namespace PluginSDK
