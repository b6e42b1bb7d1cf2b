// The table of expressions, in registration order, and the factory: each row
// is the class's own description with its constructor.
#include "CorePlugin/ExpressionFactory.h"

#include "PluginKit/Guarded.h"

#include "CorePlugin/cross/And.h"
#include "CorePlugin/cross/BitwiseAnd.h"
#include "CorePlugin/cross/BitwiseExclusiveOr.h"
#include "CorePlugin/cross/BitwiseInclusiveOr.h"
#include "CorePlugin/cross/Clip.h"
#include "CorePlugin/cross/Compare.h"
#include "CorePlugin/cross/Concat.h"
#include "CorePlugin/cross/Contains.h"
#include "CorePlugin/cross/FileDirectory.h"
#include "CorePlugin/cross/FileExists.h"
#include "CorePlugin/cross/FileInfo.h"
#include "CorePlugin/cross/FileInfoCompare.h"
#include "CorePlugin/cross/IniFileKeyExists.h"
#include "CorePlugin/cross/IniFileKeyValue.h"
#include "CorePlugin/cross/Match.h"
#include "CorePlugin/cross/Md5.h"
#include "CorePlugin/cross/MountPath.h"
#include "CorePlugin/cross/MountRemotePath.h"
#include "CorePlugin/cross/MountServer.h"
#include "CorePlugin/cross/Not.h"
#include "CorePlugin/cross/Or.h"
#include "CorePlugin/cross/PathExists.h"
#include "CorePlugin/cross/ScalarToVector.h"
#include "CorePlugin/cross/Sort.h"
#include "CorePlugin/cross/StringCrop.h"
#include "CorePlugin/cross/StringSlice.h"
#include "CorePlugin/cross/Substring.h"
#include "CorePlugin/cross/Switch.h"
#include "CorePlugin/cross/ValueOf.h"
#include "CorePlugin/cross/Vector.h"
#include "CorePlugin/cross/VectorAt.h"
#include "CorePlugin/cross/VectorIterator.h"
#include "CorePlugin/cross/VectorToScalar.h"

#include <iterator>

namespace CorePlugin {

namespace {

using PluginKit::Guarded;

// Every expression is made guarded: nothing it throws reaches the host.
template <typename T> PluginSDK::Expression* make(mountlist* /*mounts*/) {
    return new Guarded<T>();
}

template <typename T> PluginSDK::Expression* makeWithMounts(mountlist* mounts) {
    return new Guarded<T>(mounts);
}

// One row per expression; the order is the registration order and the order
// in which names are compared.
constexpr ExpressionEntry kExpressions[] = {
    PluginKit::entry<Not>(&make<Not>),
    PluginKit::entry<And>(&make<And>),
    PluginKit::entry<Or>(&make<Or>),
    PluginKit::entry<FileInfo>(&make<FileInfo>),
    PluginKit::entry<FileInfoCompare>(&make<FileInfoCompare>),
    PluginKit::entry<FileExists>(&make<FileExists>),
    PluginKit::entry<FileDirectory>(&make<FileDirectory>),
    PluginKit::entry<PathExists>(&make<PathExists>),
    PluginKit::entry<ValueOf>(&make<ValueOf>),
    PluginKit::entry<Compare>(&make<Compare>),
    PluginKit::entry<Vector>(&make<Vector>),
    PluginKit::entry<Sort>(&make<Sort>),
    PluginKit::entry<Match>(&make<Match>),
    PluginKit::entry<Concat>(&make<Concat>),
    PluginKit::entry<Switch>(&make<Switch>),
    PluginKit::entry<BitwiseAnd>(&make<BitwiseAnd>),
    PluginKit::entry<BitwiseInclusiveOr>(&make<BitwiseInclusiveOr>),
    PluginKit::entry<BitwiseExclusiveOr>(&make<BitwiseExclusiveOr>),
    PluginKit::entry<ScalarToVector>(&make<ScalarToVector>),
    PluginKit::entry<VectorToScalar>(&make<VectorToScalar>),
    PluginKit::entry<VectorIterator>(&make<VectorIterator>),
    PluginKit::entry<VectorAt>(&make<VectorAt>),
    PluginKit::entry<Md5>(&make<Md5>),
    PluginKit::entry<Substring>(&make<Substring>),
    PluginKit::entry<Contains>(&make<Contains>),
    PluginKit::entry<Clip>(&make<Clip>),
    PluginKit::entry<StringSlice>(&make<StringSlice>),
    PluginKit::entry<StringCrop>(&make<StringCrop>),
    PluginKit::entry<IniFileKeyExists>(&make<IniFileKeyExists>),
    PluginKit::entry<IniFileKeyValue>(&make<IniFileKeyValue>),
    PluginKit::entry<MountServer>(&makeWithMounts<MountServer>),
    PluginKit::entry<MountPath>(&makeWithMounts<MountPath>),
    PluginKit::entry<MountRemotePath>(&makeWithMounts<MountRemotePath>),
};

} // namespace

ExpressionTable expressionTable() {
    return ExpressionTable{kExpressions, std::size(kExpressions)};
}

PluginSDK::Expression* createExpression(const wchar_t* name, mountlist* mounts) {
    return expressionTable().create(name, mounts);
}

} // namespace CorePlugin
