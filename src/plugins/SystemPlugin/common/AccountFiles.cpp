// User and group ids of the account files.
#include "SystemPlugin/common/AccountFiles.h"

#include "PluginKit/FileReader.h"
#include "SystemPlugin/common/GlibcRecords.h"
#include "SystemPlugin/common/RecordFilter.h"

#include <string_view>
#include <vector>

namespace SystemPlugin {

PluginKit::FileOutcome AccountFiles::load(Kind kind, const std::string& path) {
    const std::string file = !path.empty() ? path : kind == Kind::Users ? kPasswd : kGroup;
    std::string text;
    const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(file, text);
    if (!outcome.ok())
        return outcome;
    m_Ids.clear();
    m_ByName.clear();
    // The id is the third field of both kinds of record.
    GlibcRecords::forEach(
        text, kind == Kind::Users ? GlibcRecords::Kind::Passwd : GlibcRecords::Kind::Group,
        [this](const std::vector<std::string_view>& fields) {
            std::uint32_t id = 0;
            if (fields.size() < 3 || !RecordFilter::readNumber(fields[2], false, id))
                return;
            m_Ids.insert(id);
            m_ByName.emplace(std::string(fields[0]), id);
        });
    return outcome;
}

bool AccountFiles::idOf(const std::string& name, std::uint32_t& id) const {
    const auto found = m_ByName.find(name);
    if (found == m_ByName.end())
        return false;
    id = found->second;
    return true;
}

} // namespace SystemPlugin
