// VersionCompare: relates two version texts as dpkg --compare-versions does.
#include "SystemPlugin/cross/VersionCompare.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/DebianVersion.h"
#include "PluginKit/PluginTrace.h"
#include "PluginKit/PropertyChecks.h"
#include "PluginKit/TruthValues.h"
#include "SystemPlugin/ResultCodes.h"
#include "base/Utf8.h"

#include <cwchar>
#include <string>

namespace SystemPlugin {

using PluginKit::DebianVersion;

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/VersionCompare";

struct Relation {
    const wchar_t* name;
    bool (*holds)(int order);
};

constexpr const wchar_t* kRelationNames[] = {L"lt", L"le", L"eq", L"ne", L"ge", L"gt"};

constexpr Relation kRelations[] = {
    {kRelationNames[0], [](int order) { return order < 0; }},
    {kRelationNames[1], [](int order) { return order <= 0; }},
    {kRelationNames[2], [](int order) { return order == 0; }},
    {kRelationNames[3], [](int order) { return order != 0; }},
    {kRelationNames[4], [](int order) { return order >= 0; }},
    {kRelationNames[5], [](int order) { return order > 0; }},
};

std::string toUtf8(const PluginSDK::String& text) {
    const std::wstring wide = text.str();
    std::string bytes;
    base::encodeUtf8(wide.data(), wide.size(), bytes, true);
    return bytes;
}

} // namespace

TErrorCode VersionCompare::update(const PluginSDK::String& value) {
    return m_Operands.accept(value);
}

TErrorCode VersionCompare::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(), "VersionCompare::getScalarResult(String& result)");
    result = static_cast<const wchar_t*>(nullptr);
    if (!m_Operands.isComplete())
        return RC_OPERANDS_INCOMPLETE;
    const TErrorCode code = PluginKit::checkRequiredProperties(
        *this, {{L"relation", RC_PROPERTY_MISSING, "Unspecified relation!", __LINE__}},
        PluginKit::CheckMode::StopAtFirst, PluginKit::TraceTarget{&trace, kTraceSource});
    if (code != RC_SUCCESS)
        return code;
    const wchar_t* name = getProperty(L"relation");
    const Relation* relation = nullptr;
    for (const Relation& candidate : kRelations)
        if (std::wcscmp(candidate.name, name) == 0)
            relation = &candidate;
    if (!relation)
        return RC_PROPERTY_VALUE_INVALID;

    // The texts outlive the parsed versions, which point into them.
    const std::string first = toUtf8(m_Operands.first());
    const std::string second = toUtf8(m_Operands.second());
    DebianVersion a;
    DebianVersion b;
    if (!DebianVersion::parse(first, a) || !DebianVersion::parse(second, b))
        return RC_INVALID_PACKAGE_VERSION;
    result = relation->holds(DebianVersion::compare(a, b)) ? PluginKit::kTrue : PluginKit::kFalse;
    return RC_SUCCESS;
}

// What VersionCompare says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::oneOf(PluginKit::required(L"relation", RC_PROPERTY_MISSING), kRelationNames,
                     RC_PROPERTY_VALUE_INVALID)};

} // namespace

const PluginKit::ExpressionInfo VersionCompare::kInfo = PluginKit::readingLiterals(
    PluginKit::operation(L"VersionCompare", PluginKit::ResultText::Truth,
                         PluginKit::ChildKinds::Scalar, 2, 2, kPropertyRows,
                         "`true`/`false`: first child `relation` second child in dpkg's order"),
    PluginKit::LiteralInfo{L"Debian version", nullptr, RC_INVALID_PACKAGE_VERSION, {}});

} // namespace SystemPlugin
