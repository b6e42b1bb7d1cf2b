// The base class of a plug-in and the entry points a plug-in library exports.
#pragma once

#include "PluginSDK/Expression.h"
#include "PluginSDK/Types.h"

#include <string>
#include <vector>

namespace PluginSDK {

class PLUGINSDK_API Plugin {
public:
    Plugin();
    virtual ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    virtual void setProperty(const wchar_t* name, const wchar_t* value) = 0;
    virtual PluginVersion getVersion() const = 0;
    virtual const wchar_t* getName() const = 0;
    virtual void* getUnknownSoftware() = 0;
    virtual TErrorCode initializePlugin() = 0;
    virtual TErrorCode cleanupPlugin() = 0;
    // Creates a new expression by name; the caller owns it until destroyExpression.
    virtual TErrorCode createExpression(const wchar_t* name, Expression** result) = 0;
    virtual TErrorCode destroyExpression(Expression* expression) = 0;

    // Host side: the expression names registered so far, in registration order.
    const std::vector<std::wstring>& getExpressionNames() const { return m_ExpressionNames; }

protected:
    // Registers an expression name. A name registered before is not added again,
    // so initialising a plug-in twice leaves one list.
    void addExpression(const wchar_t* name);

private:
    std::vector<std::wstring> m_ExpressionNames;
};

// Entry points of a plug-in library, looked up by these unmangled names.
using CreatePluginFunction = Plugin* (*)();
using DestroyPluginFunction = void (*)(Plugin*);
constexpr const char* kCreatePluginSymbol = "createPlugin";
constexpr const char* kDestroyPluginSymbol = "destroyPlugin";

} // namespace PluginSDK
