// Helpers shared by the fake expressions.
#include "FakeNode.h"

#include "FakeRecorder.h"

#include <cwchar>

namespace fakeplugin {

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::wstring textProperty(const PluginSDK::Expression& expression, const wchar_t* name) {
    const wchar_t* value = expression.getProperty(name);
    return value ? value : L"";
}

std::string labelOf(const PluginSDK::Expression& expression, const char* fallback) {
    const wchar_t* id = expression.getProperty(L"id");
    return id ? narrow(id) : fallback;
}

void recordCall(const PluginSDK::Expression& expression, const char* fallback,
                const std::string& what) {
    if (!isRecording())
        return;
    record(labelOf(expression, fallback) + "." + what);
}

TErrorCode codeProperty(const PluginSDK::Expression& expression, const wchar_t* name) {
    const wchar_t* value = expression.getProperty(name);
    return value ? std::wcstol(value, nullptr, 10) : 0;
}

} // namespace fakeplugin
