// The host's side of the evaluation protocol, checked against the call log of
// a fake plug-in: feeding order, short-circuit, failed children, disposal
// between evaluations and the order of destruction. What corehost prints
// for such trees, and for trees it refuses to build, is the cli cases
// (cli.json, which show the same call log with --set log=stderr).
#include "host/FakePluginFixture.h"

#include <gmock/gmock.h>

using hosttest::failing;
using hosttest::node;
using hosttest::value;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::string narrowText(const std::wstring& text) {
    return std::string(text.begin(), text.end()); // the tests' texts are ASCII
}

class ExpressionTreeTest : public hosttest::FakePluginFixture {
protected:
    // The result, or where and at which stage the evaluation failed.
    static std::string outcome(corehost::ExpressionTree& tree, TErrorCode rc) {
        if (rc != 0) {
            const corehost::EvaluationFailure& f = tree.failure();
            const char* stages[] = {"result of ", "update of ", "updateWithError of "};
            std::string at = stages[static_cast<int>(f.stage)] + tree.nodePath(f.node);
            if (f.stage != corehost::EvaluationFailure::Stage::Result)
                at += " by " + tree.childPath(f.node, f.child);
            return std::to_string(rc) + " at " + at;
        }
        if (tree.type() == PluginSDK::SCALAR_EXPRESSION)
            return narrowText(tree.scalarResult().str());
        std::string items;
        for (const PluginSDK::String& item : tree.vectorResult().items())
            items += "[" + narrowText(item.str()) + "]";
        return items;
    }
};

TEST_F(ExpressionTreeTest, FeedsChildrenInOrderUntilReadyOrAFailure) {
    struct Case {
        corehost::NodeSpec root;
        std::vector<std::string> calls;
        std::string outcome;
    };
    const Case cases[] = {
        {node(L"Join", {{L"id", L"j"}, {L"separator", L","}},
              {value(L"a", L"x"), node(L"Join", {{L"id", L"k"}}, {value(L"b", L"y")}),
               value(L"c", L"z")}),
         {"a.result", "j.update x", "b.result", "k.update y", "k.result", "j.update y", "c.result",
          "j.update z", "j.result"},
         "x,y,z"},
        // Once ready, the remaining children are never evaluated, subtrees included.
        {node(L"Join", {{L"id", L"j"}, {L"readyAfter", L"1"}},
              {value(L"a", L"x"), failing(L"b", -11038),
               node(L"Join", {}, {failing(L"c", -11022)})}),
         {"a.result", "j.update x", "j.result"},
         "x"},
        {node(L"Join", {{L"id", L"j"}, {L"readyAfter", L"2"}},
              {value(L"a", L"x"), value(L"b", L"y"), failing(L"c", -11038)}),
         {"a.result", "j.update x", "b.result", "j.update y", "j.result"},
         "xy"},
        // A failed child fails every parent that does not continue on error,
        // without telling them or asking for their results.
        {node(L"Join", {{L"id", L"outer"}},
              {node(L"Join", {{L"id", L"j"}},
                    {value(L"a", L"x"), failing(L"b", -11038), value(L"c", L"z")})}),
         {"a.result", "j.update x", "b.result"},
         "-11038 at result of children[0].children[1]"},
        {node(L"Join", {{L"id", L"j"}, {L"continueOnError", L"true"}, {L"separator", L","}},
              {failing(L"b", -11038), value(L"a", L"x")}),
         {"b.result", "j.updateWithError -11038", "a.result", "j.update x", "j.result"},
         "!-11038,x"},
        {node(L"Join", {{L"id", L"j"}, {L"continueOnError", L"true"}, {L"errorResult", L"pass"}},
              {value(L"a", L"x"), failing(L"b", -11022), value(L"c", L"z")}),
         {"a.result", "j.update x", "b.result", "j.updateWithError -11022"},
         "-11022 at updateWithError of  by children[1]"},
        {node(L"Join", {{L"id", L"j"}, {L"refuse", L"maybe"}},
              {value(L"a", L"maybe"), value(L"b", L"y")}),
         {"a.result", "j.update maybe"},
         "-10006 at update of  by children[0]"},
        // Each kind of child goes to its own update; the kind defaults refuse the
        // other (a list under a scalar operator is a cli case).
        {node(L"Collect", {{L"id", L"all"}},
              {node(L"List", {{L"id", L"l"}, {L"items", L"a,b"}}),
               node(L"List", {{L"id", L"m"}, {L"items", L"c"}})}),
         {"l.result", "all.update [a,b]", "m.result", "all.update [c]", "all.result"},
         "[a][b][c]"},
        {node(L"Collect", {}, {value(L"a", L"x")}),
         {"a.result"},
         "-102 at update of  by children[0]"},
    };
    for (const Case& c : cases) {
        auto tree = build(c.root);
        ASSERT_TRUE(tree);
        takeCalls();
        const TErrorCode rc = tree->evaluate();
        EXPECT_EQ(takeCalls(), c.calls) << "row " << (&c - cases);
        EXPECT_EQ(outcome(*tree, rc), c.outcome) << "row " << (&c - cases);
    }
}

TEST_F(ExpressionTreeTest, DisposesEveryNodeBeforeEachReEvaluation) {
    // The short-circuited child is disposed too, and so is a tree whose last
    // evaluation failed; the List appends to the list it is given, so a host
    // that reused a full list would double its result.
    auto tree = build(node(L"Join", {{L"id", L"j"}, {L"readyAfter", L"1"}},
                           {value(L"a", L"x"), failing(L"b", -11038)}));
    auto failed = build(node(L"Join", {{L"id", L"k"}}, {value(L"c", L"y"), failing(L"d", -5)}));
    auto list = build(node(L"List", {{L"id", L"l"}, {L"items", L"p,q"}}));
    ASSERT_TRUE(tree && failed && list);
    const std::vector<std::string> everyNode = {"j.dispose", "a.dispose", "b.dispose", "k.dispose",
                                                "c.dispose", "d.dispose", "l.dispose"};
    for (int round = 0; round < 3; ++round) {
        takeCalls(true);
        ASSERT_EQ(tree->evaluate(), 0);
        EXPECT_EQ(outcome(*tree, 0), "x");
        EXPECT_EQ(failed->evaluate(), -5);
        ASSERT_EQ(list->evaluate(), 0);
        EXPECT_EQ(outcome(*list, 0), "[p][q]");
        std::vector<std::string> disposals;
        for (const std::string& call : takeCalls(true))
            if (call.find(".dispose") != std::string::npos)
                disposals.push_back(call);
        EXPECT_EQ(disposals, round == 0 ? std::vector<std::string>() : everyNode);
    }
}

TEST_F(ExpressionTreeTest, DestroysEveryNodeBeforeThePluginIsCleanedUp) {
    auto tree =
        build(node(L"Join", {{L"id", L"j"}},
                   {value(L"a", L"x"), node(L"Join", {{L"id", L"k"}}, {value(L"b", L"y")})}));
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->evaluate(), 0);
    takeCalls();
    // The tree keeps the module alive: dropping the module first changes nothing.
    module.reset();
    EXPECT_THAT(takeCalls(), IsEmpty());
    tree.reset();
    EXPECT_THAT(takeCalls(), ElementsAre("b.destroy", "k.destroy", "a.destroy", "j.destroy",
                                         "plugin.cleanup", "plugin.destroy"));
}

} // namespace
