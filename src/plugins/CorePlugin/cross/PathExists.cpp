// The "PathExists" expression.
#include "CorePlugin/cross/PathExists.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/common/AbsolutePath.h"
#include "CorePlugin/common/ExistenceResult.h"
#include "CorePlugin/common/Path.h"

namespace CorePlugin {

TErrorCode PathExists::validateProperties() {
    return checkAbsolutePath(*this);
}

TErrorCode PathExists::getScalarResult(PluginSDK::String& result) {
    return existenceResult<Path>(*this, result);
}

// What PathExists says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {absolutePathRow()};

} // namespace

const PluginKit::ExpressionInfo PathExists::kInfo =
    PluginKit::operand(L"PathExists", PluginKit::ResultText::Truth, kPropertyRows,
                       "`true` when a directory (or a link to one) is there");

} // namespace CorePlugin
