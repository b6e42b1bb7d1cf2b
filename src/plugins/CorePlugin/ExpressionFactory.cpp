// The table of expression names, in registration order, and the factory.
#include "ExpressionFactory.h"

#include "cross/Clip.h"
#include "cross/Contains.h"
#include "cross/Match.h"
#include "cross/Md5.h"
#include "cross/StringCrop.h"
#include "cross/StringSlice.h"
#include "cross/Substring.h"

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
    {L"FileInfo", nullptr},
    {L"FileInfoCompare", nullptr},
    {L"FileExists", nullptr},
    {L"FileDirectory", nullptr},
    {L"PathExists", nullptr},
    {L"ValueOf", nullptr},
    {L"Compare", nullptr},
    {L"Vector", nullptr},
    {L"Sort", nullptr},
    {L"Match", &make<CorePlugin::Match>},
    {L"Concat", nullptr},
    {L"Switch", nullptr},
    {L"BitwiseAnd", nullptr},
    {L"BitwiseInclusiveOr", nullptr},
    {L"BitwiseExclusiveOr", nullptr},
    {L"ScalarToVector", nullptr},
    {L"VectorToScalar", nullptr},
    {L"VectorIterator", nullptr},
    {L"VectorAt", nullptr},
    {L"Md5", &make<CorePlugin::Md5>},
    {L"Substring", &make<CorePlugin::Substring>},
    {L"Contains", &make<CorePlugin::Contains>},
    {L"Clip", &make<CorePlugin::Clip>},
    {L"StringSlice", &make<CorePlugin::StringSlice>},
    {L"StringCrop", &make<CorePlugin::StringCrop>},
    {L"IniFileKeyExists", nullptr},
    {L"IniFileKeyValue", nullptr},
    {L"MountServer", nullptr},
    {L"MountPath", nullptr},
    {L"MountRemotePath", nullptr},
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
