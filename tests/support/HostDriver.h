// Drives expressions the way a host does: create by name through the plug-in,
// attach properties, feed children's results, read the result; and plays
// short scripts of such calls, answering with a transcript.
#pragma once

#include "CorePlugin/CorePlugin.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperator.h"
#include "SystemPlugin/SystemPlugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A property's name and value.
using Property = std::pair<const wchar_t*, const wchar_t*>;

// A script for HostDriver::play and the transcript it must give.
struct Script {
    const wchar_t* name;
    std::initializer_list<Property> properties;
    std::initializer_list<const wchar_t*> steps;
    const wchar_t* transcript;
};

// Calls `call` with the operator kind of `op`, as a host reaches an operator.
template <typename Call> auto asOperator(PluginSDK::Expression& op, Call call) {
    if (op.getType() == PluginSDK::SCALAR_EXPRESSION)
        return call(static_cast<PluginSDK::ScalarOperator&>(op));
    return call(static_cast<PluginSDK::VectorOperator&>(op));
}

// Drives the expressions of the plug-in class `PluginT`.
template <typename PluginT> class PluginDriver {
public:
    using ExpressionPtr =
        std::unique_ptr<PluginSDK::Expression, std::function<void(PluginSDK::Expression*)>>;

    PluginDriver() { m_Plugin.initializePlugin(); }
    ~PluginDriver() { m_Plugin.cleanupPlugin(); }

    PluginT& plugin() { return m_Plugin; }

    // A new expression with properties attached; fails the test for an unknown name.
    ExpressionPtr create(const wchar_t* name, std::initializer_list<Property> properties = {}) {
        PluginSDK::Expression* expression = nullptr;
        EXPECT_EQ(m_Plugin.createExpression(name, &expression), 0) << "cannot create " << name;
        for (const Property& property : properties)
            if (expression)
                expression->setProperty(property.first, property.second);
        return ExpressionPtr(expression, [this](auto* made) { m_Plugin.destroyExpression(made); });
    }

    // Plays `steps` on a new expression and returns one word per step:
    //   text        fed as a scalar child ("\" first feeds the rest literally)
    //   [a,b]       fed as a vector child ("[]" is the empty list, '' an empty element)
    //   !CODE       a failed child, through updateWithError
    //   ~           disposeExpression; answers "~"
    //   @name=text  attaches a property ("@name" detaches it); answers nothing
    //   ?           reads the result into a buffer holding "stale" (vectors: one
    //               "stale" element) and answers "=CODE:text" or "=CODE:[a,b]"
    // A feed answers its code; a feed or "~" is followed by "+" when the
    // expression is ready afterwards. Example: "0+ -10004+ =0:false".
    std::wstring play(const wchar_t* name, std::initializer_list<Property> properties,
                      std::initializer_list<const wchar_t*> steps) {
        ExpressionPtr op = create(name, properties);
        if (!op)
            return L"(not created)";
        std::wstring transcript;
        for (const std::wstring step : steps) {
            const std::size_t equals = step.find(L'=');
            if (step[0] == L'@') {
                const std::wstring value = equals == std::wstring::npos ? L"" : step.substr(equals);
                op->setProperty(step.substr(1, equals - 1).c_str(),
                                value.empty() ? nullptr : value.c_str() + 1);
                continue;
            }
            std::wstring word = L"~";
            if (step == L"?")
                word = L"=" + read(*op);
            else if (step == L"~")
                op->disposeExpression();
            else
                word = std::to_wstring(step[0] == L'!' ? feedError(*op, std::stol(step.substr(1)))
                                       : step[0] == L'['
                                           ? feedList(*op, split(step))
                                           : feed(*op, step.c_str() + (step[0] == L'\\')));
            if (step != L"?" && op->isReady())
                word += L'+';
            transcript += (transcript.empty() ? L"" : L" ") + word;
        }
        return transcript;
    }

    // Plays every script on a new expression and checks its transcript.
    void expectTranscripts(std::initializer_list<Script> scripts) {
        for (const Script& script : scripts)
            EXPECT_EQ(play(script.name, script.properties, script.steps), script.transcript)
                << script.name << ", script " << (&script - scripts.begin());
    }

    // Feeds a scalar child's result, choosing the operator kind as a host does.
    static TErrorCode feed(PluginSDK::Expression& op, const wchar_t* value) {
        const PluginSDK::String text(value);
        return asOperator(op, [&](auto& kind) { return kind.update(text); });
    }

    // Feeds a vector child's result.
    static TErrorCode feedList(PluginSDK::Expression& op, const std::vector<std::wstring>& values) {
        PluginSDK::StringVector list;
        for (const std::wstring& value : values)
            list.addString(value.c_str());
        return asOperator(op, [&](auto& kind) { return kind.update(list); });
    }

    // Tells an operator that its next child failed.
    static TErrorCode feedError(PluginSDK::Expression& op, long code) {
        return asOperator(op, [&](auto& kind) { return kind.updateWithError(code); });
    }

    // Reads the result into a buffer holding "stale" (vectors: one "stale"
    // element) and answers "CODE:text" or "CODE:[a,b]".
    static std::wstring read(PluginSDK::Expression& expression) {
        if (expression.getType() == PluginSDK::SCALAR_EXPRESSION) {
            PluginSDK::String result(L"stale");
            const TErrorCode rc =
                static_cast<PluginSDK::ScalarExpression&>(expression).getScalarResult(result);
            return std::to_wstring(rc) + L":" + result.str();
        }
        PluginSDK::StringVector result;
        result.addString(L"stale");
        const TErrorCode rc =
            static_cast<PluginSDK::VectorExpression&>(expression).getVectorResult(result);
        std::wstring items;
        for (const PluginSDK::String& item : result.items())
            items += (items.empty() ? L"" : L",") + (item.str().empty() ? L"''" : item.str());
        return std::to_wstring(rc) + L":[" + items + L"]";
    }

private:
    // The elements of "[a,b]".
    static std::vector<std::wstring> split(const std::wstring& step) {
        std::vector<std::wstring> list;
        for (std::size_t start = 1; step.size() > 2 && start < step.size(); ++start) {
            const std::size_t end = std::min(step.find(L',', start), step.size() - 1);
            const std::wstring item = step.substr(start, end - start);
            list.push_back(item == L"''" ? L"" : item);
            start = end;
        }
        return list;
    }

    PluginT m_Plugin;
};

using HostDriver = PluginDriver<PluginSDK::CorePlugin>;
using SystemDriver = PluginDriver<PluginSDK::SystemPlugin>;

} // namespace testsupport
