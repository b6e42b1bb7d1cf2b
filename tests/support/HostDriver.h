// Drives expressions the way a host does: create by name through the plug-in,
// attach properties, feed children's results, read the result.
#pragma once

#include "CorePlugin.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperator.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct Property {
    const wchar_t* name;
    const wchar_t* value;
};

class HostDriver {
public:
    struct Deleter {
        PluginSDK::Plugin* plugin;
        void operator()(PluginSDK::Expression* expression) const {
            plugin->destroyExpression(expression);
        }
    };
    using ExpressionPtr = std::unique_ptr<PluginSDK::Expression, Deleter>;

    HostDriver() { m_Plugin.initializePlugin(); }
    ~HostDriver() { m_Plugin.cleanupPlugin(); }

    PluginSDK::CorePlugin& plugin() { return m_Plugin; }

    // A new expression with properties attached; fails the test for an unknown name.
    ExpressionPtr create(const wchar_t* name, std::initializer_list<Property> properties = {}) {
        PluginSDK::Expression* expression = nullptr;
        TErrorCode rc = m_Plugin.createExpression(name, &expression);
        EXPECT_EQ(rc, 0) << "createExpression failed for a registered name";
        for (const Property& property : properties)
            if (expression)
                expression->setProperty(property.name, property.value);
        return ExpressionPtr(expression, Deleter{&m_Plugin});
    }

    // Feeds a scalar child's result, choosing the operator kind as a host does.
    static TErrorCode feed(PluginSDK::Expression& op, const wchar_t* value) {
        PluginSDK::String text(value);
        if (op.getType() == PluginSDK::SCALAR_EXPRESSION)
            return static_cast<PluginSDK::ScalarOperator&>(op).update(text);
        return static_cast<PluginSDK::VectorOperator&>(op).update(text);
    }

    // Feeds a vector child's result.
    static TErrorCode feed(PluginSDK::Expression& op, std::initializer_list<const wchar_t*> values) {
        PluginSDK::StringVector list;
        for (const wchar_t* value : values)
            list.addString(value);
        if (op.getType() == PluginSDK::SCALAR_EXPRESSION)
            return static_cast<PluginSDK::ScalarOperator&>(op).update(list);
        return static_cast<PluginSDK::VectorOperator&>(op).update(list);
    }

    // Tells an operator that its next child failed.
    static TErrorCode feedError(PluginSDK::Expression& op, long code) {
        if (op.getType() == PluginSDK::SCALAR_EXPRESSION)
            return static_cast<PluginSDK::ScalarOperator&>(op).updateWithError(code);
        return static_cast<PluginSDK::VectorOperator&>(op).updateWithError(code);
    }

    static bool continueOnError(PluginSDK::Expression& op) {
        if (op.getType() == PluginSDK::SCALAR_EXPRESSION)
            return static_cast<PluginSDK::ScalarOperator&>(op).continueOnError();
        return static_cast<PluginSDK::VectorOperator&>(op).continueOnError();
    }

    // The scalar result; `out` receives the text even on failure.
    static TErrorCode scalar(PluginSDK::Expression& expression, std::wstring& out) {
        PluginSDK::String result;
        TErrorCode rc = static_cast<PluginSDK::ScalarExpression&>(expression).getScalarResult(result);
        out = result.str();
        return rc;
    }

    static TErrorCode vector(PluginSDK::Expression& expression, std::vector<std::wstring>& out) {
        PluginSDK::StringVector result;
        TErrorCode rc = static_cast<PluginSDK::VectorExpression&>(expression).getVectorResult(result);
        out.clear();
        for (const PluginSDK::String& item : result.items())
            out.push_back(item.str());
        return rc;
    }

private:
    PluginSDK::CorePlugin m_Plugin;
};

} // namespace testsupport
