// The root of every expression object.
#include "PluginSDK/Expression.h"

#include <cwchar>

namespace PluginSDK {

Expression::Expression() = default;
Expression::~Expression() = default;

const wchar_t* Expression::getProperty(const wchar_t* name) const {
    if (!name)
        return nullptr;
    for (const auto& entry : m_Properties)
        if (entry.first == name)
            return entry.second.c_str();
    return nullptr;
}

void Expression::setProperty(const wchar_t* name, const wchar_t* value) {
    if (!name)
        return;
    for (auto it = m_Properties.begin(); it != m_Properties.end(); ++it) {
        if (it->first == name) {
            if (value)
                it->second.assign(value);
            else
                m_Properties.erase(it);
            return;
        }
    }
    if (value)
        m_Properties.emplace_back(name, value);
}

} // namespace PluginSDK
