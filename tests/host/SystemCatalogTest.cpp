// SystemPlugin's catalog in the host: it agrees with the loaded module on
// names, order and kinds; codes are explained from the table of the plug-in
// loaded; its literal types read as the real programs read them.
#include "eval/Catalog.h"
#include "eval/ExpressionKind.h"
#include "eval/PluginModule.h"
#include "eval/TextConversion.h"

#include "PluginKit/CommonCodes.h"
#include "PluginSDK/ScalarOperator.h"
#include "SystemPlugin/ResultCodes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

using namespace corehost;

TEST(SystemCatalog, AgreesWithTheModuleOnNamesOrderAndKinds) {
    std::string error;
    std::shared_ptr<PluginModule> module = PluginModule::load(SYSTEMPLUGIN_MODULE_PATH, error);
    ASSERT_TRUE(module) << error;
    const PluginCatalog* system = findCatalog(toUtf8(module->plugin().getName()));
    ASSERT_NE(system, nullptr);
    ASSERT_EQ(system->expressions.size(), module->names().size());
    for (std::size_t i = 0; i < module->names().size(); ++i) {
        const ExpressionSpec& spec = system->expressions[i];
        EXPECT_EQ(toUtf8(module->names()[i]), spec.name);
        // Each expression already built must be of the kind the catalog says.
        PluginSDK::Expression* expression = nullptr;
        if (module->plugin().createExpression(module->names()[i].c_str(), &expression) == 0) {
            EXPECT_EQ(std::string(describeKind(*expression)), kindName(spec)) << spec.name;
            module->plugin().destroyExpression(expression);
        }
    }
    // Every code the plug-in can return is in the table with its meaning.
    ASSERT_EQ(system->codes.size(), std::size(SystemPlugin::kResultCodes));
    selectCatalog("SystemPlugin");
    EXPECT_STREQ(codeMeaning(-12018), "not an octal mode of 1 to 4 digits");
    EXPECT_NE(findExpression("RecordField"), nullptr);
    EXPECT_EQ(findExpression("Compare"), nullptr);
    const ExpressionSpec& records = *findExpression("RecordField");
    EXPECT_NE(findPropertySpec(records, "f12.atLeast"), nullptr);
    for (const char* name : {"f0.equals", "f.equals", "f1.equal", "f01.below", "fx.below"})
        EXPECT_EQ(findPropertySpec(records, name), nullptr) << name;
    selectCatalog("NoSuchPlugin");
    EXPECT_STREQ(selectedCatalog().pluginName, "CorePlugin");
    EXPECT_STREQ(codeMeaning(-12018), "unknown code");
}

// The operators that refuse a first child "x" as no truth value are those the
// catalogs say take truth values there, in both plug-ins.
TEST(SystemCatalog, TruthTakingOperatorsAreThoseThatRefuseOtherTexts) {
    for (const char* path : {COREPLUGIN_MODULE_PATH, SYSTEMPLUGIN_MODULE_PATH}) {
        std::string error;
        std::shared_ptr<PluginModule> module = PluginModule::load(path, error);
        ASSERT_TRUE(module) << error;
        for (const ExpressionSpec& spec :
             findCatalog(toUtf8(module->plugin().getName()))->expressions) {
            PluginSDK::Expression* expression = nullptr;
            if (spec.vector || !spec.isOperator ||
                module->plugin().createExpression(fromUtf8(spec.name).c_str(), &expression) != 0)
                continue;
            const TErrorCode code = static_cast<PluginSDK::ScalarOperator*>(expression)
                                        ->update(PluginSDK::String(L"x"));
            EXPECT_EQ(code == PluginKit::kNotATruthValue, spec.truthChildren != TruthChildren::None)
                << spec.name;
            module->plugin().destroyExpression(expression);
        }
    }
}

TEST(SystemCatalog, DebianVersionLiteralsReadAsDpkgCompareVersionsReadsThem) {
    if (std::system("dpkg --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "dpkg is not available";
    for (const char* text : {"",
                             " ",
                             "\t",
                             "1.0",
                             " 1.0 ",
                             "1:2",
                             ":1",
                             "a:1",
                             "-1:1",
                             "1:",
                             "1-",
                             "-1",
                             "1:-1",
                             "1 0",
                             "2147483647:1",
                             "2147483648:1",
                             "99999999999999999999:1",
                             "1.0-1~deb12u1",
                             "abc",
                             "1_x",
                             "0:1-2-3",
                             "~",
                             "1:1:1",
                             "1.0-",
                             "0"}) {
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
