// Every expression kind evaluated with its Nth allocation failing, for N from
// 1 until an evaluation needs no more: no crash and no leak, every call
// answers what it answers without the failure or -103, a result read with
// -103 is empty, and afterwards the same object evaluates right. The same for
// the plug-in's initializePlugin, setProperty and cleanupPlugin.
#include "robustness/FailingAllocator.h"
#include "robustness/FailingMalloc.h"
#include "support/EveryExpression.h"
#include "support/HostDriver.h"

#include "base/FileText.h"
#include "base/MountTable.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <set>
#include <string>
#include <vector>

namespace {

using corehost::NodeSpec;
using testsupport::HostDriver;
using Steps = std::vector<std::wstring>;

// Runs one call of the plug-in with the failure armed.
template <typename Call> TErrorCode armed(Call call) {
    g_armed = true;
    const TErrorCode rc = call();
    g_armed = false;
    return rc;
}

// The value of a ValueOf node, or null.
const std::wstring* valueOf(const NodeSpec& node) {
    for (const auto& property : node.properties)
        if (node.name == L"ValueOf" && property.first == L"value")
            return &property.second;
    return nullptr;
}

// One evaluation of `node`'s expression, fed its children's values: a word
// per property attached, per child fed, and the result.
Steps evaluate(PluginSDK::Expression& expression, const NodeSpec& node) {
    Steps steps;
    for (const auto& property : node.properties)
        steps.push_back(std::to_wstring(armed([&] {
            return expression.setProperty(property.first.c_str(), property.second.c_str());
        })));
    for (const NodeSpec& child : node.children) {
        const PluginSDK::String text(valueOf(child)->c_str());
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

} // namespace

// Every node of the trees whose children are all ValueOf nodes with a value.
TEST(AllocationFailures, EveryExpressionAnswersOrReportsAndStaysUsable) {
    const corehost::Document document = testsupport::everyExpression();
    HostDriver host;
    std::set<std::wstring> used;
    for (const corehost::Rule& rule : document.rules)
        testsupport::forEachNode(rule.tree, [&](const NodeSpec& node) {
            for (const NodeSpec& child : node.children)
                if (!valueOf(child))
                    return;
            used.insert(node.name);
            auto expression = host.create(node.name.c_str());
            ASSERT_TRUE(expression);
            const Steps expected = evaluate(*expression, node);
            for (long n = 1;; ++n) {
                g_failed = false;
                g_countdown = n;
                const Steps steps = evaluate(*expression, node);
                g_countdown = 0;
                for (std::size_t i = 0; i < steps.size() && steps[i] != L"-103"; ++i)
                    if (steps[i] != expected[i]) {
                        // Only the result may differ from here on: failed, and empty.
                        EXPECT_EQ(steps[i], L"=-103:") << rule.id << " failing allocation " << n;
                        break;
                    }
                EXPECT_EQ(evaluate(*expression, node), expected)
                    << rule.id << " after allocation " << n;
                if (!g_failed)
                    break;
            }
        });
    for (const std::wstring& name : host.plugin().getExpressionNames())
        EXPECT_EQ(used.count(name), 1u) << "no case for an expression";
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
        EXPECT_TRUE(initialized == 0 || initialized == -103) << n;
        EXPECT_TRUE(cleaned == 0 || cleaned == -103) << n;
        EXPECT_EQ(plugin.initializePlugin(), 0) << n;
        EXPECT_EQ(plugin.getExpressionNames().size(), 33u) << n;
        EXPECT_EQ(plugin.cleanupPlugin(), 0) << n;
        if (!g_failed)
            break;
    }
}

// libmount and the C library allocate with malloc while a table is parsed (a
// line read, fields split): a failure there leaves no table, never a part.
TEST(AllocationFailures, AMountTableIsReadWholeOrNotAtAll) {
    std::string text;
    ASSERT_EQ(base::readFileText("/proc/self/mountinfo", text, 1 << 20), 0);
    base::MountTable whole;
    ASSERT_EQ(whole.parse(text.data(), text.size()), 0);
    ASSERT_GT(whole.size(), 1u);
    const std::string before = "1 0 8:1 / / rw - ext4 /dev/vda rw\n";
    for (long n = 1;; ++n) {
        base::MountTable table;
        ASSERT_EQ(table.parse(before.data(), before.size()), 0);
        armMallocFailure(n);
        int rc = 0;
        try {
            rc = table.parse(text.data(), text.size());
        } catch (const std::bad_alloc&) {
            rc = -ENOMEM;
        }
        const bool failed = disarmMallocFailure();
        // libmount reports some of its failures as -EINVAL.
        EXPECT_LE(rc, 0) << n;
        EXPECT_EQ(table.size(), rc == 0 ? whole.size() : 1u) << n;
        if (!failed)
            break;
    }
}
