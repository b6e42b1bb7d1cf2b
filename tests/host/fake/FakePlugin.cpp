// The fake plug-in object and its entry points.
#include "FakePlugin.h"

#include "FakeCollect.h"
#include "FakeJoin.h"
#include "FakeList.h"
#include "FakeNode.h"
#include "FakeRecorder.h"
#include "FakeValue.h"

#include <cwchar>
#include <initializer_list>

namespace fakeplugin {

FakePlugin::~FakePlugin() {
    record("plugin.destroy");
}

void FakePlugin::setProperty(const wchar_t* name, const wchar_t* value) {
    const std::wstring key = name ? name : L"";
    const std::wstring text = value ? value : L"";
    if (key == L"log")
        setLogToStandardError(text == L"stderr");
    record("plugin.set " + narrow(key) + "=" + narrow(text));
}

TErrorCode FakePlugin::initializePlugin() {
    for (const wchar_t* name : {L"Value", L"Join", L"List", L"Collect", L"Broken"})
        addExpression(name);
    record("plugin.initialize");
    return 0;
}

TErrorCode FakePlugin::cleanupPlugin() {
    record("plugin.cleanup");
    return 0;
}

TErrorCode FakePlugin::createExpression(const wchar_t* name, PluginSDK::Expression** result) {
    if (!name || !result)
        return -101;
    const std::wstring text = name;
    *result = nullptr;
    if (text == L"Value")
        *result = new FakeValue();
    else if (text == L"Join")
        *result = new FakeJoin();
    else if (text == L"List")
        *result = new FakeList();
    else if (text == L"Collect")
        *result = new FakeCollect();
    return *result ? 0 : -10008;
}

TErrorCode FakePlugin::destroyExpression(PluginSDK::Expression* expression) {
    delete expression;
    return 0;
}

} // namespace fakeplugin

extern "C" __attribute__((visibility("default"))) PluginSDK::Plugin* createPlugin() {
    return new fakeplugin::FakePlugin();
}

extern "C" __attribute__((visibility("default"))) void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
