// The fake scalar operand.
#include "FakeValue.h"

#include "FakeNode.h"

#include "QxLogWrapper/Trace.h"

namespace fakeplugin {

FakeValue::~FakeValue() {
    recordCall(*this, "Value", "destroy");
}

void FakeValue::disposeExpression() {
    recordCall(*this, "Value", "dispose");
}

TErrorCode FakeValue::getScalarResult(PluginSDK::String& result) {
    recordCall(*this, "Value", "result");
    if (const wchar_t* message = getProperty(L"trace")) {
        Trace trace(Tracer::getInstance(Tracer::Plugin), "FakeValue::getScalarResult()");
        trace.m_Level = 1;
        trace << trace.pos("tests/host/fake/FakeValue", __LINE__) << message << Trace::Modifier(0);
    }
    if (TErrorCode code = codeProperty(*this, L"fail"))
        return code;
    result = getProperty(L"value");
    return 0;
}

} // namespace fakeplugin
