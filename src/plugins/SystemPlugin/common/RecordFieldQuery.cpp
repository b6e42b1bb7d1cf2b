// RecordField: properties, the file, the chosen field.
#include "SystemPlugin/common/RecordFieldQuery.h"

#include "PluginKit/FileReader.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ConfigLines.h"
#include "SystemPlugin/common/GlibcRecords.h"
#include "SystemPlugin/common/PropertyText.h"

#include <cwchar>

namespace SystemPlugin {

TErrorCode RecordFieldQuery::check(const PluginSDK::Expression& node) {
    m_Checks.require(L"file", __LINE__);
    m_Checks.require(L"field", __LINE__);
    if (m_Checks.failed())
        return m_Checks.code();
    const wchar_t* split = node.getProperty(L"split");
    if (!RecordFilter::parseFieldNumber(utf8Of(node.getProperty(L"field")), m_Field))
        m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "Not a field number from 1 to 64", __LINE__);
    if (split && std::wcslen(split) != 1)
        m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "split is not one character", __LINE__);
    m_Checks.readNetwork(__LINE__);
    if (m_Checks.failed())
        return m_Checks.code();
    m_File = utf8Of(node.getProperty(L"file"));
    m_Split = utf8Of(split);
    // The SDK lists no property names, so every test name a field can have
    // is looked up, and field 0 and the first past the limit are refused.
    m_Filter = RecordFilter();
    for (const std::wstring& name : testNames()) {
        const wchar_t* value = node.getProperty(name.c_str());
        if (!value)
            continue;
        if (m_Filter.add(utf8Of(name.c_str()), utf8Of(value)) != RC_SUCCESS) {
            m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "Bad field test", __LINE__);
            return m_Checks.code();
        }
    }
    return RC_SUCCESS;
}

// "f0.equals" to "f65.<last test>": written once, not at every evaluation.
const std::vector<std::wstring>& RecordFieldQuery::testNames() {
    static const std::vector<std::wstring> names = [] {
        std::vector<std::wstring> all;
        for (std::size_t field = 0; field <= RecordFilter::kMaxField + 1; ++field)
            for (std::string_view test : RecordFilter::kTests)
                all.push_back(L"f" + std::to_wstring(field) + L"." +
                              std::wstring(test.begin(), test.end()));
        return all;
    }();
    return names;
}

TErrorCode RecordFieldQuery::read(Values& values) {
    std::string text;
    m_Checks.checkNetwork(m_File, __LINE__);
    if (m_Checks.failed())
        return m_Checks.code();
    const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(m_File, text);
    if (!outcome.ok()) {
        m_Checks.fileFailure(outcome, m_File, __LINE__);
        return m_Checks.code();
    }
    const GlibcRecords::Kind kind = GlibcRecords::kindOf(m_File);
    const bool lists = kind == GlibcRecords::Kind::Group || kind == GlibcRecords::Kind::Gshadow;
    auto take = [&](const std::vector<std::string_view>& fields) {
        if (!m_Filter.accepts(fields))
            return;
        std::string_view field = m_Field <= fields.size() ? fields[m_Field - 1] : "";
        if (m_Split.empty()) {
            values.emplace_back(field);
        } else if (lists) {
            GlibcRecords::items(field, m_Split[0], values);
        } else {
            while (!field.empty()) {
                const std::size_t end = field.find(m_Split);
                if (end != 0)
                    values.emplace_back(field.substr(0, end));
                field.remove_prefix(end == std::string_view::npos ? field.size()
                                                                  : end + m_Split.size());
            }
        }
    };
    if (kind != GlibcRecords::Kind::Other) {
        GlibcRecords::forEach(text, kind, take);
        return RC_SUCCESS;
    }
    std::vector<std::string_view> fields;
    forEachLine(text, [&](std::string_view line) {
        if (RecordFilter::splitRecord(line, fields))
            take(fields);
    });
    return RC_SUCCESS;
}

} // namespace SystemPlugin
