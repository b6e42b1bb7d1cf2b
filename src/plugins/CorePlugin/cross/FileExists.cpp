// The "FileExists" expression.
#include "CorePlugin/cross/FileExists.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/common/AbsolutePath.h"
#include "CorePlugin/common/ExistenceResult.h"
#include "CorePlugin/common/File.h"

namespace CorePlugin {

TErrorCode FileExists::validateProperties() {
    return checkAbsolutePath(*this);
}

TErrorCode FileExists::getScalarResult(PluginSDK::String& result) {
    return existenceResult<File>(*this, result);
}

// What FileExists says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {absolutePathRow()};

} // namespace

const PluginKit::ExpressionInfo FileExists::kInfo =
    PluginKit::operand(L"FileExists", PluginKit::ResultText::Truth, kPropertyRows,
                       "`true` when a regular file (or a link to one) is there");

} // namespace CorePlugin
