// What every plug-in object answers alike: its name, no unknown software,
// settings stored or skipped with nothing thrown reaching the host, and the
// expressions of its table registered, created by name and destroyed.
#pragma once

#include "PluginKit/ExpressionTable.h"
#include "PluginSDK/Plugin.h"

namespace PluginKit {

class PluginBase : public PluginSDK::Plugin {
public:
    // A setting that could not be stored for want of memory is dropped, as
    // there is no code to report it with.
    void setProperty(const wchar_t* name, const wchar_t* value) override;
    const wchar_t* getName() const override { return m_Name; }
    void* getUnknownSoftware() override { return nullptr; }
    // -101 without a name or a place for the result, -10008 for a name no
    // row of the table constructs.
    TErrorCode createExpression(const wchar_t* name, PluginSDK::Expression** result) override;
    TErrorCode destroyExpression(PluginSDK::Expression* expression) override;

protected:
    explicit PluginBase(const wchar_t* name) : m_Name(name) {}

    // Registers every name of `table`, in its order.
    template <typename Context> void addExpressions(const ExpressionTable<Context>& table) {
        for (const ExpressionEntry<Context>& entry : table)
            addExpression(entry.info->name);
    }

    // Stores the setting, or skips it with a warning; may throw.
    virtual void storeOrSkipSetting(const wchar_t* name, const wchar_t* value) = 0;
    // A new expression of the plug-in's table named `name`, or null.
    virtual PluginSDK::Expression* newExpression(const wchar_t* name) = 0;

private:
    const wchar_t* m_Name;
};

} // namespace PluginKit
