// RecordField: properties, the file, the chosen field.
#include "SystemPlugin/common/RecordFieldQuery.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PropertyChecks.h"
#include "PluginKit/TruthValues.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ConfigLines.h"
#include "SystemPlugin/common/FileCodes.h"

#include <cwchar>

namespace SystemPlugin {

TErrorCode RecordFieldQuery::check(const PluginSDK::Expression& node) {
    TErrorCode code = PluginKit::checkRequiredProperties(
        node,
        {{L"file", RC_PROPERTY_MISSING, "property \"file\" is missing", __LINE__},
         {L"field", RC_PROPERTY_MISSING, "property \"field\" is missing", __LINE__}},
        PluginKit::CheckMode::StopAtFirst, m_Trace);
    if (code != RC_SUCCESS)
        return code;
    const wchar_t* split = node.getProperty(L"split");
    const wchar_t* network = node.getProperty(L"network");
    if (!RecordFilter::parseFieldNumber(utf8Of(node.getProperty(L"field")), m_Field) ||
        (split && std::wcslen(split) != 1) || (network && !PluginKit::isTruthValue(network)))
        return RC_PROPERTY_VALUE_INVALID;
    m_File = utf8Of(node.getProperty(L"file"));
    m_Split = utf8Of(split);
    // The SDK lists no property names, so every test name a field can have
    // is looked up, and field 0 and the first past the limit are refused.
    m_Filter = RecordFilter();
    wchar_t name[32];
    for (std::size_t field = 0; field <= RecordFilter::kMaxField + 1; ++field)
        for (std::string_view test : RecordFilter::kTests) {
            std::swprintf(name, sizeof name / sizeof name[0], L"f%zu.%.*s", field,
                          static_cast<int>(test.size()), test.data());
            const wchar_t* value = node.getProperty(name);
            if (!value)
                continue;
            code = m_Filter.add(utf8Of(name), utf8Of(value));
            if (code != RC_SUCCESS)
                return code;
        }
    return RC_SUCCESS;
}

TErrorCode RecordFieldQuery::read(Values& values) const {
    std::string text;
    const TErrorCode code = codeOf(PluginKit::FileReader::readFile(m_File, text), m_File, m_Trace);
    if (code != RC_SUCCESS)
        return code;
    std::vector<std::string_view> fields;
    forEachLine(text, [&](std::string_view line) {
        if (!RecordFilter::splitRecord(line, fields) || !m_Filter.accepts(fields))
            return;
        std::string_view field = m_Field <= fields.size() ? fields[m_Field - 1] : "";
        if (m_Split.empty()) {
            values.emplace_back(field);
            return;
        }
        while (!field.empty()) {
            const std::size_t end = field.find(m_Split);
            if (end != 0)
                values.emplace_back(field.substr(0, end));
            field.remove_prefix(end == std::string_view::npos ? field.size()
                                                              : end + m_Split.size());
        }
    });
    return RC_SUCCESS;
}

} // namespace SystemPlugin
