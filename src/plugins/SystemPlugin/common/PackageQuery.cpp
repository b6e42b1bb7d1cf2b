// Reads the package properties of a node and finds the installed instances they name.
#include "SystemPlugin/common/PackageQuery.h"

#include "PluginKit/PropertyChecks.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/ResultCodes.h"
#include "base/Utf8.h"

#include <algorithm>
#include <cwchar>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/common/PackageQuery";

std::string toUtf8(const wchar_t* text) {
    std::string bytes;
    base::encodeUtf8(text, std::wcslen(text), bytes, true);
    return bytes;
}

// What dpkg allows in a package name; architectures are names of the same letters.
bool validName(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '+' || c == '.' || c == '_';
    });
}

} // namespace

TErrorCode PackageQuery::read(const PluginSDK::Expression& expression, Trace& trace,
                              bool packageRequired) {
    m_Name.clear();
    m_Architecture.clear();
    if (!packageRequired && expression.getProperty(L"package") == nullptr) {
        if (const wchar_t* architecture = expression.getProperty(L"architecture")) {
            m_Architecture = toUtf8(architecture);
            if (!validName(m_Architecture))
                return RC_PROPERTY_VALUE_INVALID;
        }
        return RC_SUCCESS;
    }
    const TErrorCode code = PluginKit::checkRequiredProperties(
        expression, {{L"package", RC_PROPERTY_MISSING, "Unspecified package!", __LINE__}},
        PluginKit::CheckMode::StopAtFirst, PluginKit::TraceTarget{&trace, kTraceSource});
    if (code != RC_SUCCESS)
        return code;
    m_Name = toUtf8(expression.getProperty(L"package"));
    const size_t colon = m_Name.find(':');
    if (colon != std::string::npos) {
        m_Architecture = m_Name.substr(colon + 1);
        m_Name.resize(colon);
        if (!validName(m_Architecture))
            return RC_PROPERTY_VALUE_INVALID;
    }
    if (!validName(m_Name))
        return RC_PROPERTY_VALUE_INVALID;
    if (const wchar_t* architecture = expression.getProperty(L"architecture")) {
        const std::string named = toUtf8(architecture);
        if (!validName(named) || (colon != std::string::npos && named != m_Architecture))
            return RC_PROPERTY_VALUE_INVALID;
        m_Architecture = named;
    }
    return RC_SUCCESS;
}

TErrorCode PackageQuery::load(PluginContext& context,
                              std::shared_ptr<const PackageDatabase>& database) {
    switch (context.packageDatabase(database)) {
    case PackageDatabase::Outcome::Ok:
        return RC_SUCCESS;
    case PackageDatabase::Outcome::TooLarge:
        return RC_OVER_LIMIT;
    case PackageDatabase::Outcome::Unreadable:
    case PackageDatabase::Outcome::Changed:
        break;
    }
    return RC_PACKAGE_DATABASE_UNREADABLE;
}

TErrorCode PackageQuery::installed(PluginContext& context,
                                   std::shared_ptr<const PackageDatabase>& database,
                                   std::vector<const PackageInstance*>& instances) const {
    instances.clear();
    const TErrorCode code = load(context, database);
    if (code != RC_SUCCESS)
        return code;
    const std::vector<PackageInstance>& every = database->instances();
    const auto [first, last] = m_Name.empty()
                                   ? std::make_pair(every.data(), every.data() + every.size())
                                   : database->find(m_Name);
    for (const PackageInstance* instance = first; instance != last; ++instance) {
        if (instance->installed() &&
            (m_Architecture.empty() || instance->architecture == m_Architecture))
            instances.push_back(instance);
    }
    return RC_SUCCESS;
}

TErrorCode PackageQuery::resolve(const PluginSDK::Expression& expression, Trace& trace,
                                 PluginContext& context,
                                 std::shared_ptr<const PackageDatabase>& database,
                                 std::vector<const PackageInstance*>& instances) {
    PackageQuery query;
    const TErrorCode code = query.read(expression, trace);
    return code != RC_SUCCESS ? code : query.installed(context, database, instances);
}

} // namespace SystemPlugin
