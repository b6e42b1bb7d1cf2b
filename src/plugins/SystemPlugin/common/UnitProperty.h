// The "unit" property of the service expressions: a unit name, ".service"
// added when it has no type suffix, as systemctl completes it.
#pragma once

#include "PluginKit/Description.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <string>

namespace SystemPlugin {

class UnitProperty {
public:
    static constexpr const wchar_t* kName = L"unit";
    // The row of UnitFileState and UnitActiveState.
    static constexpr PluginKit::PropertyInfo kRows[] = {PluginKit::shaped(
        PluginKit::required(kName, RC_PROPERTY_MISSING, "`.service` when it has no type suffix"),
        "[A-Za-z0-9:_.\\\\-][A-Za-z0-9:_.\\\\@-]*", RC_PROPERTY_VALUE_INVALID)};

    // The completed name; -12001 when "unit" is missing, -12002 when it is
    // no valid unit name (recorded in `checks`, the result then empty).
    static std::string read(ProbeChecks& checks, int line);
};

} // namespace SystemPlugin
