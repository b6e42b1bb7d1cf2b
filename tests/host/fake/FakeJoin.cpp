// The fake scalar operator.
#include "FakeJoin.h"

#include "FakeNode.h"
#include "FakeRecorder.h"

#include <cwchar>

namespace fakeplugin {

FakeJoin::~FakeJoin() {
    recordCall(*this, "Join", "destroy");
}

bool FakeJoin::isReady() {
    const wchar_t* after = getProperty(L"readyAfter");
    return after && m_Fed >= std::wcstol(after, nullptr, 10);
}

void FakeJoin::disposeExpression() {
    recordCall(*this, "Join", "dispose");
    m_Joined.clear();
    m_Fed = 0;
}

TErrorCode FakeJoin::getScalarResult(PluginSDK::String& result) {
    recordCall(*this, "Join", "result");
    if (TErrorCode code = codeProperty(*this, L"fail"))
        return code;
    result = m_Joined.c_str();
    return 0;
}

bool FakeJoin::continueOnError() const {
    return textProperty(*this, L"continueOnError") == L"true";
}

TErrorCode FakeJoin::update(const PluginSDK::String& value) {
    if (isRecording())
        recordCall(*this, "Join", "update " + narrow(value.str()));
    const wchar_t* refused = getProperty(L"refuse");
    if (refused && value.str() == refused)
        return -10006;
    append(value.str());
    return 0;
}

TErrorCode FakeJoin::updateWithError(long code) {
    recordCall(*this, "Join", "updateWithError " + std::to_string(code));
    if (textProperty(*this, L"errorResult") == L"pass")
        return code;
    append(L"!" + std::to_wstring(code));
    return 0;
}

void FakeJoin::append(const std::wstring& text) {
    if (m_Fed++ > 0)
        m_Joined += textProperty(*this, L"separator");
    m_Joined += text;
}

} // namespace fakeplugin
