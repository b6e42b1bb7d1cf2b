// The trees of every-expression.json, which together use every expression of
// the plug-in on success and failure paths: a rule without "expect" must fail.
#pragma once

#include "eval/DocumentReader.h"

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// The document with @SOURCE_DIR@ replaced; fails the test when it cannot be read.
inline corehost::Document everyExpression() {
    std::string text, readError;
    EXPECT_TRUE(corehost::DocumentReader::readSource(
        COREPLUGIN_SOURCE_DIR "/tests/support/every-expression.json", text, readError))
        << readError;
    const std::string mark = "@SOURCE_DIR@", directory = COREPLUGIN_SOURCE_DIR;
    for (auto at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + directory.size()))
        text.replace(at, mark.size(), directory);
    corehost::Document document;
    corehost::InputError error;
    EXPECT_TRUE(corehost::DocumentReader::parse(text, document, error))
        << error.path << ": " << error.message;
    return document;
}

// Calls `visit` on every node of a tree, parents before their children.
template <typename Visit> void forEachNode(const corehost::NodeSpec& node, const Visit& visit) {
    visit(node);
    for (const corehost::NodeSpec& child : node.children)
        forEachNode(child, visit);
}

} // namespace testsupport
