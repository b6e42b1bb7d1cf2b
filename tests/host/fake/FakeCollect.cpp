// The fake vector operator.
#include "FakeCollect.h"

#include "FakeNode.h"

namespace fakeplugin {

FakeCollect::~FakeCollect() {
    recordCall(*this, "Collect", "destroy");
}

void FakeCollect::disposeExpression() {
    recordCall(*this, "Collect", "dispose");
    m_Values.removeAll();
}

TErrorCode FakeCollect::getVectorResult(PluginSDK::StringVector& result) {
    recordCall(*this, "Collect", "result");
    result = m_Values;
    return 0;
}

TErrorCode FakeCollect::update(const PluginSDK::StringVector& values) {
    std::string text;
    for (const PluginSDK::String& value : values.items()) {
        text += text.empty() ? "" : ",";
        text += narrow(value.str());
        m_Values.addString(value);
    }
    recordCall(*this, "Collect", "update [" + text + "]");
    return 0;
}

} // namespace fakeplugin
