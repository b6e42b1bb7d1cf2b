// TextExtract: the first capture group of the first match of "pattern" (RE2)
// in the text of its one scalar child.
#pragma once

#include "SystemPlugin/common/RegexPattern.h"
#include "SystemPlugin/common/UnaryScalarOperator.h"

namespace SystemPlugin {

class TextExtract : public UnaryScalarOperator<PluginSDK::String> {
protected:
    TErrorCode evaluate(const PluginSDK::String& child, PluginSDK::String& result) override;

private:
    RegexPattern m_Pattern;
};

} // namespace SystemPlugin
