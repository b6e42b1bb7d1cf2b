// Md5: the MD5 digest of the joined results of all children.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperator.h"

namespace CorePlugin {

class Md5 : public PluginSDK::ScalarOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::ScalarOperator::update;

    // Appends the child's result to the joined text, without separator.
    TErrorCode update(const PluginSDK::String& value) override;
    // Every child is taken: never ready before the last.
    bool isReady() override;
    // 32 lower-case hexadecimal digits: the digest of the joined text's
    // UTF-8 form. Never fails.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    // Empties the joined text.
    void disposeExpression() override;

    // Writes the digest text of `text` into `signature`.
    void getMd5Signature(const PluginSDK::String& text, PluginSDK::String& signature);

private:
    PluginSDK::String m_Text;
};

} // namespace CorePlugin
