// A small plug-in for testing hosts. It registers "Value", "Join", "List",
// "Collect" and "Broken" (registered, but the factory refuses it); when its
// property "log" is "stderr" it writes every call its objects receive on
// standard error as "fake: <id>.<call>", an expression's id being its
// property "id" or else its name.
#include "PluginSDK/Plugin.h"
#include "PluginSDK/ScalarOperand.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperand.h"
#include "PluginSDK/VectorOperator.h"
#include "QxLogWrapper/Trace.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

bool g_Logging = false;

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

void record(const std::string& line) {
    if (g_Logging)
        std::fprintf(stderr, "fake: %s\n", line.c_str());
}

std::wstring text(const PluginSDK::Expression& expression, const wchar_t* name) {
    const wchar_t* value = expression.getProperty(name);
    return value ? value : L"";
}

// The code in the property "fail", or 0 when it is absent.
TErrorCode failure(const PluginSDK::Expression& expression) {
    return std::wcstol(text(expression, L"fail").c_str(), nullptr, 10);
}

// The calls every fake expression records, labelled with its id or `Name`.
template <typename Base, const char* Name> class Logged : public Base {
public:
    ~Logged() override { log("destroy"); }
    void disposeExpression() override { log("dispose"); }

protected:
    void log(const std::string& what) const {
        const std::wstring id = text(*this, L"id");
        record((id.empty() ? std::string(Name) : narrow(id)) + "." + what);
    }
};

const char kValue[] = "Value";
const char kJoin[] = "Join";
const char kList[] = "List";
const char kCollect[] = "Collect";

// A scalar operand whose result is its property "value"; with "fail" it
// returns that code instead; with "trace" it writes that message as an error
// record on the plug-in's tracer.
class FakeValue : public Logged<PluginSDK::ScalarOperand, kValue> {
public:
    TErrorCode getScalarResult(PluginSDK::String& result) override {
        log("result");
        if (const wchar_t* message = getProperty(L"trace")) {
            Trace trace(Tracer::getInstance(Tracer::Plugin), "FakeValue::getScalarResult()");
            trace.m_Level = 1;
            trace << trace.pos("tests/host/fake/FakePlugin", __LINE__) << message
                  << Trace::Modifier(0);
        }
        if (TErrorCode code = failure(*this))
            return code;
        result = getProperty(L"value");
        return 0;
    }
};

// A scalar operator joining its scalar children with "separator"; vector
// children get the kind's default answer. "readyAfter" N reports ready once N
// children were fed; "refuse" names a text that update refuses with -10006;
// "continueOnError" "true" asks for failed children, which join as "!<code>",
// or which fail the operator with their own code when "errorResult" is
// "pass"; "fail" makes the result fail with that code.
class FakeJoin : public Logged<PluginSDK::ScalarOperator, kJoin> {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override {
        const wchar_t* after = getProperty(L"readyAfter");
        return after && m_Fed >= std::wcstol(after, nullptr, 10);
    }
    void disposeExpression() override {
        Logged::disposeExpression();
        m_Joined.clear();
        m_Fed = 0;
    }
    TErrorCode getScalarResult(PluginSDK::String& result) override {
        log("result");
        if (TErrorCode code = failure(*this))
            return code;
        result = m_Joined.c_str();
        return 0;
    }
    bool continueOnError() const override { return text(*this, L"continueOnError") == L"true"; }
    TErrorCode update(const PluginSDK::String& value) override {
        log("update " + narrow(value.str()));
        const wchar_t* refused = getProperty(L"refuse");
        if (refused && value.str() == refused)
            return -10006;
        append(value.str());
        return 0;
    }
    TErrorCode updateWithError(long code) override {
        log("updateWithError " + std::to_string(code));
        if (text(*this, L"errorResult") == L"pass")
            return code;
        append(L"!" + std::to_wstring(code));
        return 0;
    }

private:
    void append(const std::wstring& value) {
        if (m_Fed++ > 0)
            m_Joined += text(*this, L"separator");
        m_Joined += value;
    }

    std::wstring m_Joined;
    long m_Fed = 0;
};

// A vector operand whose result is its property "items" split at commas; like
// some real vector operands it appends to the list it is given. With "fail"
// it returns that code instead.
class FakeList : public Logged<PluginSDK::VectorOperand, kList> {
public:
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override {
        log("result");
        if (TErrorCode code = failure(*this))
            return code;
        const std::wstring items = text(*this, L"items");
        for (std::size_t start = 0, comma; start < items.size(); start = comma + 1) {
            comma = std::min(items.find(L',', start), items.size());
            result.addString(items.substr(start, comma - start).c_str());
        }
        return 0;
    }
};

// A vector operator gathering the elements of its vector children; scalar
// children and failed children get the kind's default answers.
class FakeCollect : public Logged<PluginSDK::VectorOperator, kCollect> {
public:
    using PluginSDK::VectorOperator::update;

    bool isReady() override { return false; }
    void disposeExpression() override {
        Logged::disposeExpression();
        m_Values.removeAll();
    }
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override {
        log("result");
        result = m_Values;
        return 0;
    }
    TErrorCode update(const PluginSDK::StringVector& values) override {
        std::string items;
        for (const PluginSDK::String& value : values.items()) {
            items += (items.empty() ? "" : ",") + narrow(value.str());
            m_Values.addString(value);
        }
        log("update [" + items + "]");
        return 0;
    }

private:
    PluginSDK::StringVector m_Values;
};

class FakePlugin : public PluginSDK::Plugin {
public:
    ~FakePlugin() override { record("plugin.destroy"); }
    void setProperty(const wchar_t* name, const wchar_t* value) override {
        const std::wstring key = name ? name : L"";
        const std::wstring setting = value ? value : L"";
        if (key == L"log")
            g_Logging = setting == L"stderr";
        record("plugin.set " + narrow(key) + "=" + narrow(setting));
    }
    PluginSDK::PluginVersion getVersion() const override { return {0, 0, 0, 1}; }
    const wchar_t* getName() const override { return L"FakePlugin"; }
    void* getUnknownSoftware() override { return nullptr; }
    TErrorCode initializePlugin() override {
        for (const wchar_t* name : {L"Value", L"Join", L"List", L"Collect", L"Broken"})
            addExpression(name);
        return 0;
    }
    TErrorCode cleanupPlugin() override {
        record("plugin.cleanup");
        return 0;
    }
    TErrorCode createExpression(const wchar_t* name, PluginSDK::Expression** result) override {
        if (!name || !result)
            return -101;
        const std::wstring wanted = name;
        *result = nullptr;
        if (wanted == L"Value")
            *result = new FakeValue();
        else if (wanted == L"Join")
            *result = new FakeJoin();
        else if (wanted == L"List")
            *result = new FakeList();
        else if (wanted == L"Collect")
            *result = new FakeCollect();
        return *result ? 0 : -10008;
    }
    TErrorCode destroyExpression(PluginSDK::Expression* expression) override {
        delete expression;
        return 0;
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) PluginSDK::Plugin* createPlugin() {
    return new FakePlugin();
}

extern "C" __attribute__((visibility("default"))) void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
