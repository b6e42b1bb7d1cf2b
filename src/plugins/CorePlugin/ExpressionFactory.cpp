// The table of expression names, in registration order, and the factory.
#include "ExpressionFactory.h"

#include "cross/FileDirectory.h"
#include "cross/FileExists.h"
#include "cross/FileInfo.h"
#include "cross/IniFileKeyExists.h"
#include "cross/IniFileKeyValue.h"
#include "cross/MountPath.h"
#include "cross/MountRemotePath.h"
#include "cross/MountServer.h"
#include "cross/PathExists.h"

#include <cwchar>

namespace CorePlugin {

namespace {

template <typename T> PluginSDK::Expression* make(mountlist* /*mounts*/) {
    return new T();
}

template <typename T> PluginSDK::Expression* makeWithMounts(mountlist* mounts) {
    return new T(mounts);
}

// One row per expression; the order is the registration order and the order
// in which names are compared.
constexpr ExpressionEntry kExpressions[] = {
    {L"Not", nullptr},
    {L"And", nullptr},
    {L"Or", nullptr},
    {L"FileInfo", &make<CorePlugin::FileInfo>},
    {L"FileInfoCompare", nullptr},
    {L"FileExists", &make<CorePlugin::FileExists>},
    {L"FileDirectory", &make<CorePlugin::FileDirectory>},
    {L"PathExists", &make<CorePlugin::PathExists>},
    {L"ValueOf", nullptr},
    {L"Compare", nullptr},
    {L"Vector", nullptr},
    {L"Sort", nullptr},
    {L"Match", nullptr},
    {L"Concat", nullptr},
    {L"Switch", nullptr},
    {L"BitwiseAnd", nullptr},
    {L"BitwiseInclusiveOr", nullptr},
    {L"BitwiseExclusiveOr", nullptr},
    {L"ScalarToVector", nullptr},
    {L"VectorToScalar", nullptr},
    {L"VectorIterator", nullptr},
    {L"VectorAt", nullptr},
    {L"Md5", nullptr},
    {L"Substring", nullptr},
    {L"Contains", nullptr},
    {L"Clip", nullptr},
    {L"StringSlice", nullptr},
    {L"StringCrop", nullptr},
    {L"IniFileKeyExists", &make<CorePlugin::IniFileKeyExists>},
    {L"IniFileKeyValue", &make<CorePlugin::IniFileKeyValue>},
    {L"MountServer", &makeWithMounts<CorePlugin::MountServer>},
    {L"MountPath", &makeWithMounts<CorePlugin::MountPath>},
    {L"MountRemotePath", &makeWithMounts<CorePlugin::MountRemotePath>},
};

} // namespace

ExpressionTable expressionTable() {
    return ExpressionTable{kExpressions, sizeof kExpressions / sizeof kExpressions[0]};
}

PluginSDK::Expression* createExpression(const wchar_t* name, mountlist* mounts) {
    for (const ExpressionEntry& entry : kExpressions)
        if (std::wcscmp(entry.name, name) == 0)
            return entry.create ? entry.create(mounts) : nullptr;
    return nullptr;
}

} // namespace CorePlugin
