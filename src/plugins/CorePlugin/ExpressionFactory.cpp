// The table of expression names, in registration order, and the factory.
#include "ExpressionFactory.h"

#include "PluginKit/Guarded.h"

#include "cross/And.h"
#include "cross/BitwiseAnd.h"
#include "cross/BitwiseExclusiveOr.h"
#include "cross/BitwiseInclusiveOr.h"
#include "cross/Clip.h"
#include "cross/Compare.h"
#include "cross/Concat.h"
#include "cross/Contains.h"
#include "cross/FileDirectory.h"
#include "cross/FileExists.h"
#include "cross/FileInfo.h"
#include "cross/FileInfoCompare.h"
#include "cross/IniFileKeyExists.h"
#include "cross/IniFileKeyValue.h"
#include "cross/Match.h"
#include "cross/Md5.h"
#include "cross/MountPath.h"
#include "cross/MountRemotePath.h"
#include "cross/MountServer.h"
#include "cross/Not.h"
#include "cross/Or.h"
#include "cross/PathExists.h"
#include "cross/ScalarToVector.h"
#include "cross/Sort.h"
#include "cross/StringCrop.h"
#include "cross/StringSlice.h"
#include "cross/Substring.h"
#include "cross/Switch.h"
#include "cross/ValueOf.h"
#include "cross/Vector.h"
#include "cross/VectorAt.h"
#include "cross/VectorIterator.h"
#include "cross/VectorToScalar.h"

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
    {L"Not", &make<CorePlugin::Not>},
    {L"And", &make<CorePlugin::And>},
    {L"Or", &make<CorePlugin::Or>},
    {L"FileInfo", &make<CorePlugin::FileInfo>},
    {L"FileInfoCompare", &make<CorePlugin::FileInfoCompare>},
    {L"FileExists", &make<CorePlugin::FileExists>},
    {L"FileDirectory", &make<CorePlugin::FileDirectory>},
    {L"PathExists", &make<CorePlugin::PathExists>},
    {L"ValueOf", &make<CorePlugin::ValueOf>},
    {L"Compare", &make<CorePlugin::Compare>},
    {L"Vector", &make<CorePlugin::Vector>},
    {L"Sort", &make<CorePlugin::Sort>},
    {L"Match", &make<CorePlugin::Match>},
    {L"Concat", &make<CorePlugin::Concat>},
    {L"Switch", &make<CorePlugin::Switch>},
    {L"BitwiseAnd", &make<CorePlugin::BitwiseAnd>},
    {L"BitwiseInclusiveOr", &make<CorePlugin::BitwiseInclusiveOr>},
    {L"BitwiseExclusiveOr", &make<CorePlugin::BitwiseExclusiveOr>},
    {L"ScalarToVector", &make<CorePlugin::ScalarToVector>},
    {L"VectorToScalar", &make<CorePlugin::VectorToScalar>},
    {L"VectorIterator", &make<CorePlugin::VectorIterator>},
    {L"VectorAt", &make<CorePlugin::VectorAt>},
    {L"Md5", &make<CorePlugin::Md5>},
    {L"Substring", &make<CorePlugin::Substring>},
    {L"Contains", &make<CorePlugin::Contains>},
    {L"Clip", &make<CorePlugin::Clip>},
    {L"StringSlice", &make<CorePlugin::StringSlice>},
    {L"StringCrop", &make<CorePlugin::StringCrop>},
    {L"IniFileKeyExists", &make<CorePlugin::IniFileKeyExists>},
    {L"IniFileKeyValue", &make<CorePlugin::IniFileKeyValue>},
    {L"MountServer", &makeWithMounts<CorePlugin::MountServer>},
    {L"MountPath", &makeWithMounts<CorePlugin::MountPath>},
    {L"MountRemotePath", &makeWithMounts<CorePlugin::MountRemotePath>},
};

} // namespace

ExpressionTable expressionTable() {
    return ExpressionTable{kExpressions, std::size(kExpressions)};
}

PluginSDK::Expression* createExpression(const wchar_t* name, mountlist* mounts) {
    return expressionTable().create(name, mounts);
}

} // namespace CorePlugin
