// Each plug-in's description against the plug-in itself: the host learns the
// plug-ins only from these files, so what a description says of names, order,
// kinds, truth-valued children and literal types must be what the loaded
// module does. Also: a description read as untrusted input, a plug-in without
// one, and two plug-in sets side by side in one process.
#include "eval/DocumentCheck.h"
#include "eval/DocumentReader.h"
#include "eval/ExpressionKind.h"
#include "eval/PluginSet.h"
#include "eval/TextConversion.h"
#include "eval/ValueRules.h"

#include "PluginKit/CommonCodes.h"
#include "PluginSDK/ScalarOperator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

using namespace corehost;

namespace {

std::shared_ptr<PluginSet> loadSet(const std::vector<std::string>& paths) {
    std::string error;
    std::shared_ptr<PluginSet> set = PluginSet::load(paths, error);
    EXPECT_TRUE(set) << error;
    return set;
}

std::shared_ptr<PluginSet> bothPlugins() {
    return loadSet({COREPLUGIN_MODULE_PATH, SYSTEMPLUGIN_MODULE_PATH});
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> findingsOf(const std::string& documentText, const PluginSet& plugins) {
    Document document;
    InputError error;
    EXPECT_TRUE(DocumentReader::parse(documentText, document, error)) << error.message;
    std::vector<std::string> messages;
    for (const DocumentFinding& finding : checkDocument(document, plugins))
        messages.push_back(finding.finding.message);
    return messages;
}

} // namespace

// Every registered expression is described, in order, as the kind an
// instance of it is; every code of the table has a meaning.
TEST(PluginDescription, AgreesWithItsModuleOnNamesOrderAndKinds) {
    std::shared_ptr<PluginSet> plugins = bothPlugins();
    ASSERT_TRUE(plugins);
    for (const std::shared_ptr<PluginModule>& module : plugins->modules()) {
        const PluginDescription* description = module->description();
        ASSERT_NE(description, nullptr) << module->path();
        ASSERT_EQ(description->expressions.size(), module->names().size());
        for (std::size_t i = 0; i < module->names().size(); ++i) {
            const ExpressionDescription& expression = description->expressions[i];
            EXPECT_EQ(toUtf8(module->names()[i]), expression.name);
            PluginSDK::Expression* instance = nullptr;
            ASSERT_EQ(module->plugin().createExpression(module->names()[i].c_str(), &instance), 0);
            EXPECT_EQ(std::string(describeKind(*instance)), expression.kindName())
                << expression.name;
            module->plugin().destroyExpression(instance);
        }
        EXPECT_STREQ(module->codeMeaning(PluginKit::kNotATruthValue),
                     "operand is not a truth value");
        EXPECT_STREQ(module->codeMeaning(-999999), "unknown code");
    }
    // A name is described by the plug-in that registered it.
    EXPECT_STREQ(plugins->modules()[1]->codeMeaning(-12018), "not an octal mode of 1 to 4 digits");
    EXPECT_STREQ(plugins->modules()[0]->codeMeaning(-12018), "unknown code");
    const ExpressionDescription* records = plugins->describe("RecordField");
    ASSERT_NE(records, nullptr);
    EXPECT_NE(records->findProperty("f12.atLeast"), nullptr);
    for (const char* name : {"f0.equals", "f.equals", "f1.equal", "f01.below", "fx.below"})
        EXPECT_EQ(records->findProperty(name), nullptr) << name;
}

// The operators that refuse a first child "x" as no truth value are those the
// descriptions say take truth values there, with the code they say.
TEST(PluginDescription, TruthTakingOperatorsAreThoseThatRefuseOtherTexts) {
    std::shared_ptr<PluginSet> plugins = bothPlugins();
    ASSERT_TRUE(plugins);
    for (const std::shared_ptr<PluginModule>& module : plugins->modules())
        for (const ExpressionDescription& spec : module->description()->expressions) {
            PluginSDK::Expression* expression = nullptr;
            if (spec.vector || !spec.isOperator ||
                module->plugin().createExpression(fromUtf8(spec.name).c_str(), &expression) != 0)
                continue;
            const TErrorCode code = static_cast<PluginSDK::ScalarOperator*>(expression)
                                        ->update(PluginSDK::String(L"x"));
            const bool takesTruth = spec.truthChildren != TruthChildren::None;
            EXPECT_EQ(code == PluginKit::kNotATruthValue, takesTruth) << spec.name;
            if (takesTruth) {
                EXPECT_EQ(spec.notTruthCode, code) << spec.name;
            }
            module->plugin().destroyExpression(expression);
        }
}

// The literal types the descriptions name read as the real programs read them.
TEST(PluginDescription, DebianVersionLiteralsReadAsDpkgCompareVersionsReadsThem) {
    if (std::system("dpkg --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "dpkg is not available";
    const auto readsAs = [](const char* type, const char* text) {
        return readLiteral(literalKindNamed(type), fromUtf8(text)).outcome ==
               PluginKit::LiteralReading::Outcome::Whole;
    };
    for (const char* text : {"",
                             " ",
                             "\t",
                             "1.0",
                             " 1.0 ",
                             "1:2",
                             "1:",
                             ":1",
                             "a:1",
                             "-1:1",
                             "1-",
                             "-1",
                             "1:-1",
                             "1 0",
                             "abc",
                             "1_x",
                             "0:1-2",
                             "~",
                             "1:1:1",
                             "2147483647:1",
                             "2147483648:1",
                             "1.0-",
                             "0",
                             "1.0-1~deb12u1",
                             "99999999999999999999:1"}) {
        const std::string command =
            std::string("dpkg --compare-versions '") + text + "' lt 1 2>/dev/null";
        const int status = std::system(command.c_str());
        const bool refused = WIFEXITED(status) && WEXITSTATUS(status) == 2;
        EXPECT_EQ(readsAs("Debian version", text), !refused) << "[" << text << "]";
    }
    for (const char* text : {"0", "7", "0640", "4755", "7777"})
        EXPECT_TRUE(readsAs("octal mode", text)) << text;
    for (const char* text : {"", "8", "0648", "07777", "+644", " 644", "0x1"})
        EXPECT_FALSE(readsAs("octal mode", text)) << text;
}

// A description is untrusted input: every way of being malformed or cut short
// is an error that names the file and the line, never a crash or a partial
// description taken as whole.
TEST(PluginDescription, MalformedDescriptionsAreRefusedWithTheirPlace) {
    const std::string real = fileText(CORE_DESCRIPTION_PATH);
    ASSERT_GT(real.size(), 1000u);
    std::string error;
    ASSERT_TRUE(parseDescription(real, "d", error)) << error;
    const std::string header = "corehost-plugin-description\t1\nplugin\tP\t1.0.0.0\n";
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {real.substr(0, real.size() - 1), "d:" /* the last line without its end */},
        {real.substr(0, real.find("\nproperty") + 5), "cut short"},
        {"", "empty, or cut short"},
        {"corehost-plugin-description\t2\n", "format version \"2\""},
        {"PK\x03\x04 zip\n", "not a plug-in description"},
        {header + "expression\tX\tscalar operand\tany\t\nfrobnicate\n", "unknown record"},
        {header + "expression\tX\tscalar thing\tany\t\n", "unknown kind of expression"},
        {header + "expression\tX\tscalar operand\tlist\t\n", "vector expressions"},
        {header + "expression\tX\tscalar operand\tany\t\nexpression\tX\tscalar operand\tany\t\n",
         "described twice"},
        {header + "property\tp\t0\ttext\t0\t\n", "belongs to an expression"},
        {header + "expression\tX\tscalar operand\tany\t\nproperty\tp\tabc\ttext\t0\t\n",
         "not a result code"},
        {header + "expression\tX\tscalar operand\tany\t\nproperty\tp\t0\tsome rule\t0\t\n",
         "unknown rule"},
        {header + "expression\tX\tscalar operand\tany\t\nproperty\tp\t0\tone of\t0\t\n",
         "takes one of no values"},
        {header + "expression\tX\tscalar operator\tany\t\n", "without a \"children\" record"},
        {header + "expression\tX\tscalar operator\tany\t\nchildren\tscalar\t3\t2\n", "above"},
        {header + "expression\tX\tscalar operand\tany\t\nchildren\tscalar\t1\t1\n", "has children"},
        {header + "expression\tX\tscalar operand\tproperty\t\n", "a property it does not have"},
        {header + "value\tv\n", "none came before"},
        {header + "code\t-1\tX\n", "takes 3 fields, not 2"},
        {header + "code\t-1\tX\tbad \\q escape\n", "escapes nothing"},
        {header + std::string("code\t-1\tX\t\0\n", 12), "NUL"},
    };
    for (const auto& test : cases) {
        error.clear();
        EXPECT_EQ(parseDescription(test.text, "d", error), nullptr) << test.message;
        EXPECT_NE(error.find(test.message), std::string::npos) << error;
        EXPECT_EQ(error.rfind("d", 0), 0u) << error;
    }
}

// Two sets in one process answer from their own plug-ins: nothing of one
// leaks into what the other checks, in either order.
TEST(PluginDescription, TwoPluginSetsInOneProcessCheckIndependently) {
    std::shared_ptr<PluginSet> core = loadSet({COREPLUGIN_MODULE_PATH});
    std::shared_ptr<PluginSet> both = bothPlugins();
    ASSERT_TRUE(core && both);
    const std::string document = R"({"name": "Count", "children": [{"name": "FileLines",
        "properties": {"absolutePath": "/etc/hostname", "pattern": "(x"}}]})";
    for (int round = 0; round < 2; ++round) {
        const std::vector<std::string> onCore = findingsOf(document, *core);
        ASSERT_EQ(onCore.size(), 2u);
        EXPECT_NE(onCore[0].find("unknown expression name \"Count\""), std::string::npos);
        const std::vector<std::string> onBoth = findingsOf(document, *both);
        ASSERT_EQ(onBoth.size(), 1u);
        EXPECT_NE(onBoth[0].find("missing ): (x (-12021)"), std::string::npos) << onBoth[0];
    }
    EXPECT_EQ(core->describe("Count"), nullptr);
    EXPECT_NE(both->describe("Count"), nullptr);
}

// A plug-in that ships no description loads and runs; check names it once
// and checks its trees for names only.
TEST(PluginDescription, APluginWithoutDescriptionIsCheckedByNamesOnly) {
    std::shared_ptr<PluginSet> plugins = loadSet({COREHOST_FAKE_PLUGIN_PATH});
    ASSERT_TRUE(plugins);
    ASSERT_EQ(plugins->undescribed().size(), 1u);
    const std::string note = undescribedNote(*plugins);
    EXPECT_NE(note.find("FakePlugin"), std::string::npos) << note;
    EXPECT_NE(note.find("names only"), std::string::npos) << note;
    const std::string name = toUtf8(plugins->modules()[0]->names().front());
    EXPECT_TRUE(
        findingsOf("{\"name\": \"" + name + "\", \"properties\": {\"anything\": \"x\"}}", *plugins)
            .empty());
    const std::vector<std::string> unknown = findingsOf(R"({"name": "NoSuchName"})", *plugins);
    ASSERT_EQ(unknown.size(), 1u);
}
