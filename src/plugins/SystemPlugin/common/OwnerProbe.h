// What FileOwner and FileGroup share: the owning user or group of a path, by
// name ("form" "name", the default) or by number ("form" "id").
#pragma once

#include "PluginSDK/ScalarOperand.h"
#include "SystemPlugin/common/PropertyRows.h"

namespace SystemPlugin {

// How the owner is given: its name, or its number.
inline constexpr const wchar_t* kOwnerForms[] = {L"name", L"id"};

inline constexpr PluginKit::PropertyInfo kOwnerPropertyRows[] = {
    pathRow(), followRow(), choiceRow(L"form", kOwnerForms, "`id`: the number (default `name`)"),
    networkRow()};

class OwnerProbe : public PluginSDK::ScalarOperand {
public:
    enum class Owner { User, Group };

    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}

protected:
    explicit OwnerProbe(Owner owner) : m_Owner(owner) {}

private:
    Owner m_Owner;
};

} // namespace SystemPlugin
