// Evaluates a corehost JSON document through the installed evaluator library
// (libcorehost_eval): reads and checks the document, loads the plug-in, builds
// each rule's tree and prints its result as `corehost eval` does.
//
//   eval_json DOCUMENT [MODULE]   (DOCUMENT "-" is standard input)
#include "CorePlugin/ResultCodes.h"
#include "eval/DocumentReader.h"
#include "eval/ExpressionTree.h"
#include "eval/MessageText.h"
#include "eval/PluginModule.h"
#include "eval/TextConversion.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#ifndef COREPLUGIN_MODULE
#error "Define COREPLUGIN_MODULE as the path of libCorePlugin.so"
#endif

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: eval_json DOCUMENT [MODULE]\n");
        return 2;
    }
    std::string text;
    std::string error;
    if (!corehost::DocumentReader::readSource(argv[1], text, error)) {
        std::fprintf(stderr, "eval_json: %s\n", error.c_str());
        return 2;
    }
    corehost::Document document;
    corehost::InputError inputError;
    if (!corehost::DocumentReader::parse(text, document, inputError)) {
        std::fprintf(stderr, "eval_json: %s: %s\n", corehost::describePath(inputError.path).c_str(),
                     inputError.message.c_str());
        return 2;
    }
    std::shared_ptr<corehost::PluginModule> module =
        corehost::PluginModule::load(argc > 2 ? argv[2] : COREPLUGIN_MODULE, error);
    if (!module) {
        std::fprintf(stderr, "eval_json: %s\n", error.c_str());
        return 2;
    }

    // Every tree is built before anything is evaluated: an invalid document
    // evaluates nothing.
    std::vector<std::unique_ptr<corehost::ExpressionTree>> trees;
    for (const corehost::Rule& rule : document.rules) {
        corehost::BuildError buildError;
        trees.push_back(corehost::ExpressionTree::build(module, rule.tree, rule.path, buildError));
        if (!trees.back()) {
            // A fault of the document is 2; the plug-in failing (a refused
            // name, a property it could not attach: -103) is 1, with its code.
            std::fprintf(stderr, "eval_json: %s: %s",
                         corehost::describePath(buildError.path).c_str(),
                         buildError.describe().c_str());
            if (buildError.code != 0)
                std::fprintf(stderr, ": %ld (%s)", buildError.code,
                             CorePlugin::describeResultCode(buildError.code));
            std::fprintf(stderr, "\n");
            return buildError.isInputError() ? 2 : 1;
        }
    }

    int status = 0;
    for (std::size_t i = 0; i < trees.size(); ++i) {
        corehost::ExpressionTree& tree = *trees[i];
        if (document.isRuleList)
            std::printf("[%s]\n", corehost::escapeText(document.rules[i].id, ']').c_str());
        // As corehost prints them: escaped, and under a rule's header indented
        // behind "= ", so that no result line can pass for a header.
        const char* mark = document.isRuleList ? "  = " : "";
        if (TErrorCode code = tree.evaluate(); code != 0) {
            const std::size_t node = tree.failure().node;
            std::fprintf(stderr, "eval_json: %s at %s failed with %ld (%s)\n",
                         corehost::toUtf8(tree.nodeName(node)).c_str(),
                         corehost::describePath(tree.nodePath(node)).c_str(), code,
                         CorePlugin::describeResultCode(code));
            status = 1;
        } else if (tree.type() == PluginSDK::SCALAR_EXPRESSION) {
            std::printf("%s%s\n", mark,
                        corehost::escapeText(corehost::toUtf8(tree.scalarResult().str())).c_str());
        } else {
            for (const PluginSDK::String& value : tree.vectorResult().items())
                std::printf("%s%s\n", mark, corehost::escapeText(corehost::toUtf8(value.str())).c_str());
        }
    }
    return status;
}
