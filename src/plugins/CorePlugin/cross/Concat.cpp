// Joins the results of all children with an optional separator.
#include "cross/Concat.h"

#include "ResultCodes.h"

#include <cwchar>
#include <string>

namespace CorePlugin {

namespace {

constexpr const wchar_t* kSeparatorProperty = L"separator";
constexpr const wchar_t* kIfEmptyProperty = L"ifEmpty";
constexpr const wchar_t* kAddEmpty = L"add";

} // namespace

void Concat::init() {
    if (m_Initialised)
        return;
    m_Joined = static_cast<const wchar_t*>(nullptr);
    m_OperandCount = 0;
    m_Separator = getProperty(kSeparatorProperty);
    const wchar_t* ifEmpty = getProperty(kIfEmptyProperty);
    m_SkipEmpty = !(ifEmpty && std::wcscmp(ifEmpty, kAddEmpty) == 0);
    m_Initialised = true;
}

TErrorCode Concat::update(const PluginSDK::String& value) {
    init();
    ++m_OperandCount;
    if (m_OperandCount == 1) {
        m_Joined = value;
        return RC_SUCCESS;
    }
    const std::wstring& text = value.str();
    if (m_SkipEmpty && text.empty())
        return RC_SUCCESS;
    m_Joined.str().append(m_Separator.str()).append(text);
    return RC_SUCCESS;
}

TErrorCode Concat::getScalarResult(PluginSDK::String& result) {
    result = m_Joined;
    return RC_SUCCESS;
}

void Concat::disposeExpression() {
    m_Joined = static_cast<const wchar_t*>(nullptr);
    m_OperandCount = 0;
    m_Separator = static_cast<const wchar_t*>(nullptr);
    m_SkipEmpty = true;
    m_Initialised = false;
}

} // namespace CorePlugin
