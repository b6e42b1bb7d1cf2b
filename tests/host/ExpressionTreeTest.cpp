// The host's side of the evaluation protocol, checked against the call log of
// a fake plug-in: feeding order, short-circuit, failed children, disposal
// between evaluations and the order of destruction.
#include "host/FakePluginFixture.h"

#include <gmock/gmock.h>

using hosttest::failing;
using hosttest::node;
using hosttest::value;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using Stage = corehost::EvaluationFailure::Stage;

std::vector<std::wstring> items(const PluginSDK::StringVector& list) {
    std::vector<std::wstring> out;
    for (const PluginSDK::String& item : list.items())
        out.push_back(item.str());
    return out;
}

class ExpressionTreeTest : public hosttest::FakePluginFixture {};

TEST_F(ExpressionTreeTest, FeedsChildrenInOrderAndReadsEachResultOnce) {
    auto tree = build(node(L"Join", {{L"id", L"j"}, {L"separator", L","}},
                           {value(L"a", L"x"), node(L"Join", {{L"id", L"k"}}, {value(L"b", L"y")}),
                            value(L"c", L"z")}));
    ASSERT_TRUE(tree);
    takeCalls();
    ASSERT_EQ(tree->evaluate(), 0);
    EXPECT_THAT(takeCalls(),
                ElementsAre("a.result", "j.update x", "b.result", "k.update y", "k.result",
                            "j.update y", "c.result", "j.update z", "j.result"));
    EXPECT_EQ(tree->type(), PluginSDK::SCALAR_EXPRESSION);
    EXPECT_EQ(tree->scalarResult().str(), L"x,y,z");
}

TEST_F(ExpressionTreeTest, StopsFeedingOnceTheOperatorIsReady) {
    // The child after the deciding one would fail: it is never evaluated, nor
    // is the operator subtree after it.
    auto tree = build(node(L"Join", {{L"id", L"j"}, {L"readyAfter", L"1"}},
                           {value(L"a", L"x"), failing(L"b", -11038),
                            node(L"Join", {{L"id", L"k"}}, {failing(L"c", -11022)})}));
    ASSERT_TRUE(tree);
    takeCalls();
    ASSERT_EQ(tree->evaluate(), 0);
    EXPECT_THAT(takeCalls(), ElementsAre("a.result", "j.update x", "j.result"));
    EXPECT_EQ(tree->scalarResult().str(), L"x");
}

TEST_F(ExpressionTreeTest, ReadyIsAskedAfterEveryChildNotOnlyTheFirst) {
    auto tree = build(node(L"Join", {{L"id", L"j"}, {L"readyAfter", L"2"}},
                           {value(L"a", L"x"), value(L"b", L"y"), failing(L"c", -11038)}));
    ASSERT_TRUE(tree);
    takeCalls();
    ASSERT_EQ(tree->evaluate(), 0);
    EXPECT_THAT(takeCalls(),
                ElementsAre("a.result", "j.update x", "b.result", "j.update y", "j.result"));
    EXPECT_EQ(tree->scalarResult().str(), L"xy");
}

TEST_F(ExpressionTreeTest, FailedChildFailsAParentThatDoesNotContinueOnError) {
    auto tree = build(node(L"Join", {{L"id", L"outer"}},
                           {node(L"Join", {{L"id", L"j"}},
                                 {value(L"a", L"x"), failing(L"b", -11038), value(L"c", L"z")})}));
    ASSERT_TRUE(tree);
    takeCalls();
    EXPECT_EQ(tree->evaluate(), -11038);
    // Neither operator is told of the failure or asked for its result.
    EXPECT_THAT(takeCalls(), ElementsAre("a.result", "j.update x", "b.result"));
    const corehost::EvaluationFailure& failure = tree->failure();
    EXPECT_EQ(failure.stage, Stage::Result);
    EXPECT_EQ(tree->nodeName(failure.node), L"Value");
    EXPECT_EQ(tree->nodePath(failure.node), "children[0].children[1]");
}

TEST_F(ExpressionTreeTest, FailedChildGoesToUpdateWithErrorWhenTheOperatorContinues) {
    auto tree =
        build(node(L"Join", {{L"id", L"j"}, {L"continueOnError", L"true"}, {L"separator", L","}},
                   {failing(L"b", -11038), value(L"a", L"x")}));
    ASSERT_TRUE(tree);
    takeCalls();
    ASSERT_EQ(tree->evaluate(), 0);
    EXPECT_THAT(takeCalls(), ElementsAre("b.result", "j.updateWithError -11038", "a.result",
                                         "j.update x", "j.result"));
    EXPECT_EQ(tree->scalarResult().str(), L"!-11038,x");
}

TEST_F(ExpressionTreeTest, CodeFromUpdateWithErrorFailsTheOperator) {
    auto tree = build(
        node(L"Join", {{L"id", L"j"}, {L"continueOnError", L"true"}, {L"errorResult", L"pass"}},
             {value(L"a", L"x"), failing(L"b", -11022), value(L"c", L"z")}));
    ASSERT_TRUE(tree);
    takeCalls();
    EXPECT_EQ(tree->evaluate(), -11022);
    EXPECT_THAT(takeCalls(),
                ElementsAre("a.result", "j.update x", "b.result", "j.updateWithError -11022"));
    EXPECT_EQ(tree->failure().stage, Stage::UpdateWithError);
    EXPECT_EQ(tree->failure().node, 0u);
    EXPECT_EQ(tree->childPath(0, tree->failure().child), "children[1]");
}

TEST_F(ExpressionTreeTest, RefusedUpdateFailsTheOperatorAndStopsFeeding) {
    auto tree = build(node(L"Join", {{L"id", L"j"}, {L"refuse", L"maybe"}},
                           {value(L"a", L"maybe"), value(L"b", L"y")}));
    ASSERT_TRUE(tree);
    takeCalls();
    EXPECT_EQ(tree->evaluate(), -10006);
    EXPECT_THAT(takeCalls(), ElementsAre("a.result", "j.update maybe"));
    EXPECT_EQ(tree->failure().stage, Stage::Update);
    EXPECT_EQ(tree->failure().node, 0u);
    EXPECT_EQ(tree->failure().child, 0u);
}

TEST_F(ExpressionTreeTest, ResultFailureOfAnOperatorIsItsOwn) {
    auto tree = build(node(L"Join", {{L"id", L"j"}, {L"fail", L"-10007"}}, {value(L"a", L"x")}));
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->evaluate(), -10007);
    EXPECT_EQ(tree->failure().stage, Stage::Result);
    EXPECT_EQ(tree->failure().node, 0u);
}

TEST_F(ExpressionTreeTest, KindDefaultsRefuseTheOtherKindOfChild) {
    struct Case {
        const char* label;
        corehost::NodeSpec root;
    };
    const Case cases[] = {
        {"vector child of a scalar operator",
         node(L"Join", {}, {node(L"List", {{L"items", L"a,b"}})})},
        {"scalar child of a vector operator", node(L"Collect", {}, {value(L"a", L"x")})},
    };
    for (const Case& c : cases) {
        auto tree = build(c.root);
        ASSERT_TRUE(tree) << c.label;
        EXPECT_EQ(tree->evaluate(), -102) << c.label;
        EXPECT_EQ(tree->failure().stage, Stage::Update) << c.label;
        EXPECT_EQ(tree->failure().node, 0u) << c.label;
    }
}

TEST_F(ExpressionTreeTest, VectorChildrenFeedAVectorOperator) {
    auto tree = build(node(L"Collect", {{L"id", L"all"}},
                           {node(L"List", {{L"id", L"l"}, {L"items", L"a,b"}}),
                            node(L"List", {{L"id", L"m"}, {L"items", L"c"}})}));
    ASSERT_TRUE(tree);
    takeCalls();
    ASSERT_EQ(tree->evaluate(), 0);
    EXPECT_THAT(takeCalls(), ElementsAre("l.result", "all.update [a,b]", "m.result",
                                         "all.update [c]", "all.result"));
    EXPECT_EQ(tree->type(), PluginSDK::VECTOR_EXPRESSION);
    EXPECT_THAT(items(tree->vectorResult()), ElementsAre(L"a", L"b", L"c"));
}

TEST_F(ExpressionTreeTest, DisposesEveryNodeBeforeEachReEvaluation) {
    // The short-circuited child is disposed too; the List appends to the list
    // it is given, so a host that reused a full list would double its result.
    auto tree = build(node(L"Join", {{L"id", L"j"}, {L"readyAfter", L"1"}},
                           {value(L"a", L"x"), failing(L"b", -11038)}));
    auto list = build(node(L"List", {{L"id", L"l"}, {L"items", L"p,q"}}));
    ASSERT_TRUE(tree && list);
    takeCalls(true);
    ASSERT_EQ(tree->evaluate(), 0);
    EXPECT_THAT(takeCalls(true), ElementsAre("a.result", "j.update x", "j.result"));
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(tree->evaluate(), 0);
        EXPECT_THAT(takeCalls(true), ElementsAre("j.dispose", "a.dispose", "b.dispose", "a.result",
                                                 "j.update x", "j.result"));
        EXPECT_EQ(tree->scalarResult().str(), L"x");
    }
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(list->evaluate(), 0);
        EXPECT_THAT(items(list->vectorResult()), ElementsAre(L"p", L"q"));
    }
}

TEST_F(ExpressionTreeTest, EvaluatesAgainAfterAFailure) {
    auto tree = build(node(L"Join", {{L"id", L"j"}}, {value(L"a", L"x"), failing(L"b", -5)}));
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->evaluate(), -5);
    takeCalls(true);
    EXPECT_EQ(tree->evaluate(), -5);
    EXPECT_THAT(takeCalls(true), ElementsAre("j.dispose", "a.dispose", "b.dispose", "a.result",
                                             "j.update x", "b.result"));
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

TEST_F(ExpressionTreeTest, PropertiesAreAttachedBeforeTheFirstEvaluation) {
    auto tree = build(node(L"Join", {{L"separator", L" + "}},
                           {value(L"a", L"1"), node(L"Value", {{L"value", L"ü€"}})}));
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->evaluate(), 0);
    EXPECT_EQ(tree->scalarResult().str(), L"1 + ü€");
}

TEST_F(ExpressionTreeTest, NodePathsFollowTheDescription) {
    auto tree =
        build(node(L"Join", {},
                   {value(L"a", L"x"), node(L"Join", {}, {value(L"b", L"y"), value(L"c", L"z")}),
                    value(L"d", L"w")}),
              "rules[2].tree");
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->size(), 6u);
    const char* expected[] = {"rules[2].tree",
                              "rules[2].tree.children[0]",
                              "rules[2].tree.children[1]",
                              "rules[2].tree.children[1].children[0]",
                              "rules[2].tree.children[1].children[1]",
                              "rules[2].tree.children[2]"};
    for (std::size_t i = 0; i < tree->size(); ++i)
        EXPECT_EQ(tree->nodePath(i), expected[i]) << "node " << i;
}

class ExpressionTreeBuildTest : public hosttest::FakePluginFixture {
protected:
    corehost::BuildError buildError(const corehost::NodeSpec& root) {
        corehost::BuildError error;
        EXPECT_EQ(corehost::ExpressionTree::build(module, root, "tree", error), nullptr);
        return error;
    }
};

TEST_F(ExpressionTreeBuildTest, UnknownNameIsRefusedBeforeAnythingIsCreated) {
    // Names are compared exactly, as the plug-in registered them.
    for (const wchar_t* name : {L"Nothing", L"value", L"Value ", L""}) {
        corehost::BuildError error =
            buildError(node(L"Join", {{L"id", L"j"}}, {value(L"a", L"x"), node(name)}));
        EXPECT_EQ(error.kind, corehost::BuildError::Kind::UnknownName);
        EXPECT_TRUE(error.isInputError());
        EXPECT_EQ(error.path, "tree.children[1]");
        EXPECT_EQ(error.name, name);
        EXPECT_THAT(takeCalls(), IsEmpty()); // nothing was created, so nothing destroyed
    }
}

TEST_F(ExpressionTreeBuildTest, RefusedCreationDestroysWhatWasCreated) {
    corehost::BuildError error =
        buildError(node(L"Join", {{L"id", L"j"}}, {value(L"a", L"x"), node(L"Broken")}));
    EXPECT_EQ(error.kind, corehost::BuildError::Kind::NotCreated);
    EXPECT_FALSE(error.isInputError());
    EXPECT_EQ(error.code, -10008);
    EXPECT_EQ(error.path, "tree.children[1]");
    EXPECT_THAT(takeCalls(), ElementsAre("a.destroy", "j.destroy"));
}

TEST_F(ExpressionTreeBuildTest, ChildrenUnderAnOperandAreRefused) {
    corehost::BuildError error = buildError(
        node(L"Join", {{L"id", L"j"}}, {node(L"List", {{L"id", L"l"}}, {value(L"a", L"x")})}));
    EXPECT_EQ(error.kind, corehost::BuildError::Kind::ChildrenUnderOperand);
    EXPECT_TRUE(error.isInputError());
    EXPECT_EQ(error.path, "tree.children[0]");
    EXPECT_EQ(error.name, L"List");
    EXPECT_THAT(takeCalls(), ElementsAre("l.destroy", "j.destroy"));
}

TEST_F(ExpressionTreeBuildTest, NestingIsLimited) {
    corehost::NodeSpec root = value(L"leaf", L"x");
    for (std::size_t level = 1; level < corehost::ExpressionTree::kMaxDepth; ++level)
        root = node(L"Join", {}, {std::move(root)});
    {
        // Exactly the limit builds and evaluates.
        auto tree = build(root);
        ASSERT_TRUE(tree);
        EXPECT_EQ(tree->evaluate(), 0);
        EXPECT_EQ(tree->scalarResult().str(), L"x");
    }
    root = node(L"Join", {}, {std::move(root)});
    corehost::BuildError error = buildError(root);
    EXPECT_EQ(error.kind, corehost::BuildError::Kind::TooDeep);
    EXPECT_TRUE(error.isInputError());
}

} // namespace
