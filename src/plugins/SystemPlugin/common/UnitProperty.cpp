// The "unit" property of the service expressions.
#include "SystemPlugin/common/UnitProperty.h"

#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/PropertyText.h"
#include "SystemPlugin/common/UnitName.h"

namespace SystemPlugin {

std::string UnitProperty::read(ProbeChecks& checks, int line) {
    checks.require(kName, line);
    if (checks.failed())
        return std::string();
    const std::string name = UnitName::withSuffix(utf8Of(checks.property(kName)));
    if (!UnitName::isValid(name)) {
        checks.fail(RC_PROPERTY_VALUE_INVALID, ("Not a unit name: " + name).c_str(), line);
        return std::string();
    }
    return name;
}

} // namespace SystemPlugin
