// What every plug-in object answers alike.
#include "PluginKit/PluginBase.h"

#include "PluginKit/CommonCodes.h"

namespace PluginKit {

void PluginBase::setProperty(const wchar_t* name, const wchar_t* value) {
    try {
        storeOrSkipSetting(name, value);
    } catch (...) {
    }
}

TErrorCode PluginBase::createExpression(const wchar_t* name, PluginSDK::Expression** result) {
    if (!name || !result)
        return kInvalidArgument;
    *result = newExpression(name);
    return *result ? kSuccess : kUnknownExpression;
}

TErrorCode PluginBase::destroyExpression(PluginSDK::Expression* expression) {
    delete expression;
    return kSuccess;
}

} // namespace PluginKit
