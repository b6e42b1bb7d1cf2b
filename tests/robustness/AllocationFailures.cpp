// Every expression kind evaluated with its Nth allocation failing, for N from
// 1 until an evaluation needs no more: no crash and no leak, every call
// answers what it answers without the failure or -103, a result read with
// -103 is empty, and afterwards the same object evaluates right. The same for
// the plug-in's initializePlugin, setProperty and cleanupPlugin.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

// While armed (inside the plug-in's calls only), the allocation that brings a
// positive countdown to 0 fails.
std::atomic<bool> g_armed{false};
std::atomic<long> g_countdown{0};
std::atomic<bool> g_failed{false};

} // namespace

void* operator new(std::size_t size) {
    if (g_armed && g_countdown.load() > 0 && --g_countdown == 0) {
        g_failed = true;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

using testsupport::HostDriver;
using Steps = std::vector<std::wstring>;

struct Case {
    const wchar_t* name;
    std::vector<std::pair<const wchar_t*, const wchar_t*>> properties;
    std::vector<const wchar_t*> feeds;
};

// Runs one call of the plug-in with the failure armed.
template <typename Call> TErrorCode armed(Call call) {
    g_armed = true;
    const TErrorCode rc = call();
    g_armed = false;
    return rc;
}

// One evaluation: a word per property attached, per child fed, and the result.
Steps evaluate(PluginSDK::Expression& expression, const Case& c) {
    Steps steps;
    for (const auto& property : c.properties)
        steps.push_back(std::to_wstring(
            armed([&] { return expression.setProperty(property.first, property.second); })));
    for (const wchar_t* feed : c.feeds) {
        const PluginSDK::String text(feed);
        bool ready = false;
        const TErrorCode rc = armed([&] {
            return testsupport::asOperator(expression, [&](auto& op) { return op.update(text); });
        });
        armed([&] { return (ready = expression.isReady()), 0L; });
        steps.push_back(std::to_wstring(rc) + (ready ? L"+" : L""));
    }
    PluginSDK::String scalar;
    PluginSDK::StringVector vector;
    const TErrorCode rc = armed([&] {
        return expression.getType() == PluginSDK::SCALAR_EXPRESSION
                   ? static_cast<PluginSDK::ScalarExpression&>(expression).getScalarResult(scalar)
                   : static_cast<PluginSDK::VectorExpression&>(expression).getVectorResult(vector);
    });
    std::wstring result = scalar.str();
    for (const PluginSDK::String& item : vector.items())
        result += item.str() + L";";
    steps.push_back(L"=" + std::to_wstring(rc) + L":" + result);
    armed([&] { return expression.disposeExpression(), 0L; });
    return steps;
}

const std::wstring kIni = std::wstring(COREPLUGIN_SOURCE_DIR L"/examples/data/app.ini");
const std::wstring kFile = std::wstring(COREPLUGIN_SOURCE_DIR L"/README.md");

const Case kCases[] = {
    {L"Not", {}, {L"false"}},
    {L"And", {}, {L"true", L"true"}},
    {L"Or", {}, {L"false", L"true"}},
    {L"FileInfo", {{L"absolutePath", kFile.c_str()}, {L"field", L"inode"}}, {}},
    {L"FileInfoCompare",
     {{L"absolutePath", kFile.c_str()},
      {L"field", L"size"},
      {L"relation", L"gt"},
      {L"value", L"1"}},
     {}},
    {L"FileExists", {{L"absolutePath", kFile.c_str()}}, {}},
    {L"FileDirectory", {{L"file", kFile.c_str()}}, {}},
    {L"PathExists", {{L"absolutePath", L"" COREPLUGIN_SOURCE_DIR}}, {}},
    {L"ValueOf", {{L"value", L"some value"}}, {}},
    {L"Compare", {{L"type", L"version"}, {L"relation", L"ge"}}, {L"1.10", L"1.9"}},
    {L"Vector", {{L"filter", L"*.TXT"}, {L"ignoreCase", L"true"}}, {L"a.txt", L"b.log", L"c.txt"}},
    {L"Sort", {{L"order", L"desc"}}, {L"b", L"c", L"a"}},
    {L"Match", {{L"inputString", L"notes.txt"}, {L"filter", L"*.txt"}}, {}},
    {L"Concat", {{L"separator", L", "}}, {L"a", L"b"}},
    {L"Switch", {{L"default", L"none"}}, {L"false", L"x", L"true", L"y"}},
    {L"BitwiseAnd", {}, {L"12", L"10"}},
    {L"BitwiseInclusiveOr", {}, {L"12", L"10"}},
    {L"BitwiseExclusiveOr", {}, {L"12", L"10"}},
    {L"ScalarToVector", {}, {L"a;b\\;c;"}},
    {L"VectorToScalar", {}, {L"a;", L"b"}},
    {L"VectorIterator", {}, {L"x", L"y"}},
    {L"VectorAt", {{L"index", L"2"}}, {L"x", L"y"}},
    {L"Md5", {}, {L"message ", L"digest"}},
    {L"Substring", {{L"inputString", L"alpha\nbeta\nalphabet"}, {L"searchedString", L"alpha"}}, {}},
    {L"Contains",
     {{L"inputString", L"config.ini"}, {L"searchedString", L"ini"}, {L"position", L"end"}},
     {}},
    {L"Clip", {{L"inputString", L"abcdef"}, {L"startIndex", L"1"}, {L"endIndex", L"3"}}, {}},
    {L"StringSlice", {{L"inputString", L"abcdef"}, {L"startIndex", L"x"}, {L"endIndex", L"3"}}, {}},
    {L"StringCrop", {{L"inputString", L"a(b)c"}, {L"startString", L"("}, {L"endString", L")"}}, {}},
    {L"IniFileKeyExists",
     {{L"file", kIni.c_str()}, {L"section", L"application"}, {L"key", L"version"}},
     {}},
    {L"IniFileKeyValue",
     {{L"file", kIni.c_str()}, {L"section", L"application"}, {L"key", L"version"}},
     {}},
    {L"MountServer", {{L"absolutePath", L"/"}}, {}},
    {L"MountPath", {{L"absolutePath", L"/"}}, {}},
    {L"MountRemotePath", {{L"absolutePath", L"/"}}, {}},
};

} // namespace

TEST(AllocationFailures, EveryExpressionAnswersOrReportsAndStaysUsable) {
    HostDriver host;
    for (const Case& c : kCases) {
        auto expression = host.create(c.name);
        ASSERT_TRUE(expression) << c.name;
        const Steps expected = evaluate(*expression, c);
        for (long n = 1;; ++n) {
            g_failed = false;
            g_countdown = n;
            const Steps steps = evaluate(*expression, c);
            g_countdown = 0;
            for (std::size_t i = 0; i < steps.size() && steps[i] != L"-103"; ++i)
                if (steps[i] != expected[i]) {
                    // Only the result may differ from here on: failed, and empty.
                    EXPECT_EQ(steps[i], L"=-103:") << c.name << " failing allocation " << n;
                    break;
                }
            EXPECT_EQ(evaluate(*expression, c), expected) << c.name << " after allocation " << n;
            if (!g_failed)
                break;
        }
    }
}

TEST(AllocationFailures, ThePluginsOwnOperationsReportAndStayUsable) {
    for (long n = 1;; ++n) {
        PluginSDK::CorePlugin plugin;
        g_failed = false;
        g_countdown = n;
        g_armed = true;
        const TErrorCode initialized = plugin.initializePlugin();
        plugin.setProperty(L"defaultWindowsRegistrySection", L"64");
        plugin.setProperty(L"unknown", L"skipped with a warning");
        const TErrorCode cleaned = plugin.cleanupPlugin();
        g_armed = false;
        g_countdown = 0;
        // The mount table reports its own failure to read as -ENOMEM.
        EXPECT_TRUE(initialized == 0 || initialized == -103 || initialized == -ENOMEM) << n;
        EXPECT_TRUE(cleaned == 0 || cleaned == -103) << n;
        EXPECT_EQ(plugin.initializePlugin(), 0) << n;
        EXPECT_EQ(plugin.getExpressionNames().size(), 33u) << n;
        EXPECT_EQ(plugin.cleanupPlugin(), 0) << n;
        if (!g_failed)
            break;
    }
}
