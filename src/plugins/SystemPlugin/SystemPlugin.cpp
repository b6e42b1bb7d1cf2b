// The plug-in object.
#include "SystemPlugin/SystemPlugin.h"

#include "SystemPlugin/ExpressionFactory.h"
#include "SystemPlugin/ResultCodes.h"

#include "PluginKit/PluginTrace.h"

namespace PluginSDK {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/SystemPlugin";
constexpr const wchar_t* kPluginName = L"SystemPlugin";

} // namespace

SystemPlugin::SystemPlugin() = default;

SystemPlugin::~SystemPlugin() = default;

void SystemPlugin::setProperty(const wchar_t* name, const wchar_t* value) {
    // Nothing thrown may reach the host; a setting that could not be stored
    // for want of memory is dropped, as there is no code to report it with.
    try {
        storeOrSkipSetting(name, value);
    } catch (...) {
    }
}

void SystemPlugin::storeOrSkipSetting(const wchar_t* name, const wchar_t* value) {
    if (value && m_Context.setProperty(name, value))
        return;
    Trace trace(PluginKit::pluginTracer(),
                L"SystemPlugin::setProperty(const wchar_t *, const wchar_t *)");
    trace.m_Level = PluginKit::TRACE_WARNING;
    // A null name or value is reported as the empty text.
    trace << trace.pos(kTraceSource, __LINE__) << "Unexpected plugin property, skipping. "
          << "plugin=[" << kPluginName << "] "
          << "name=[" << (name ? name : L"") << "] "
          << "value=[" << (value ? value : L"") << "]" << Trace::Modifier(0);
}

PluginVersion SystemPlugin::getVersion() const {
    return PluginVersion{1, 0, 0, 0};
}

const wchar_t* SystemPlugin::getName() const {
    return kPluginName;
}

void* SystemPlugin::getUnknownSoftware() {
    return nullptr;
}

TErrorCode SystemPlugin::initializePlugin() {
    // Registration ignores names registered before, so a call that failed
    // for want of memory may simply be made again.
    try {
        for (const ::SystemPlugin::ExpressionEntry& entry : ::SystemPlugin::expressionTable())
            addExpression(entry.name);
        return ::SystemPlugin::RC_SUCCESS;
    } catch (...) {
        return ::SystemPlugin::RC_INTERNAL_FAILURE;
    }
}

TErrorCode SystemPlugin::cleanupPlugin() {
    return ::SystemPlugin::RC_SUCCESS;
}

TErrorCode SystemPlugin::createExpression(const wchar_t* name, Expression** result) {
    if (!name || !result)
        return ::SystemPlugin::RC_INVALID_ARGUMENT;
    *result = ::SystemPlugin::createExpression(name, m_Context);
    return *result ? ::SystemPlugin::RC_SUCCESS : ::SystemPlugin::RC_UNKNOWN_EXPRESSION;
}

TErrorCode SystemPlugin::destroyExpression(Expression* expression) {
    delete expression;
    return ::SystemPlugin::RC_SUCCESS;
}

} // namespace PluginSDK
