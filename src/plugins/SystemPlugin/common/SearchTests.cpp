// The tests of a search.
#include "SystemPlugin/common/SearchTests.h"

#include "PluginKit/OctalMode.h"
#include "PluginKit/PathList.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/AccountNames.h"
#include "SystemPlugin/common/PropertyText.h"

#include <cwchar>

namespace SystemPlugin {

namespace {

constexpr mode_t kPermissionBits = 07777;

// A user or group id written in decimal digits alone (as `find -user 1000`
// takes it), within 32 bits.
bool readDigits(const std::string& text, std::uint32_t& id) {
    if (text.empty() || text.size() > 10)
        return false;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > UINT32_MAX)
        return false;
    id = static_cast<std::uint32_t>(value);
    return true;
}

} // namespace

const SearchTests::TypeLetter SearchTests::kTypeLetters[7] = {
    {L'f', S_IFREG},  {L'd', S_IFDIR}, {L'l', S_IFLNK}, {L'p', S_IFIFO},
    {L's', S_IFSOCK}, {L'b', S_IFBLK}, {L'c', S_IFCHR}};

void SearchTests::readValues(ProbeChecks& checks) {
    m_NoUser = checks.truthValue(L"noUser", false, __LINE__);
    m_NoGroup = checks.truthValue(L"noGroup", false, __LINE__);
    const bool ignoreCase = checks.truthValue(ProbeChecks::kIgnoreCase, false, __LINE__);
    if (const wchar_t* types = checks.property(L"type")) {
        // Letters joined by ';'.
        for (const wchar_t* at = types;; at += 2) {
            unsigned bit = 0;
            for (unsigned i = 0; i < std::size(kTypeLetters); ++i)
                if (*at == kTypeLetters[i].letter)
                    bit = 1u << i;
            if (bit == 0 || (at[1] != L';' && at[1] != L'\0')) {
                checks.fail(RC_PROPERTY_VALUE_INVALID,
                            "\"type\" takes letters of f, d, l, p, s, b, c joined by ';'",
                            __LINE__);
                break;
            }
            m_Types |= bit;
            if (at[1] == L'\0')
                break;
        }
    }
    if (const wchar_t* name = checks.property(L"name")) {
        m_ByName = true;
        m_Name = PluginKit::WildcardFilter(name, ignoreCase);
    }
    for (auto [property, mode] :
         {std::pair{L"modeAny", &m_ModeAny}, std::pair{L"modeNotWithin", &m_ModeNotWithin}}) {
        const wchar_t* text = checks.property(property);
        unsigned bits = 0;
        if (!text)
            continue;
        if (!PluginKit::readOctalMode(text, bits))
            checks.fail(RC_INVALID_MODE,
                        ("Not an octal mode of 1 to 4 digits: " + utf8Of(property)).c_str(),
                        __LINE__);
        *mode = bits;
    }
    m_Owner = account(checks, L"owner", true);
    m_NotOwner = account(checks, L"notOwner", true);
    m_Group = account(checks, L"group", false);
    m_NotGroup = account(checks, L"notGroup", false);
    if (const wchar_t* exclude = checks.property(L"exclude"))
        for (const std::string& pattern : PluginKit::PathList::split(utf8Of(exclude)))
            m_Excluded.emplace_back(PluginKit::TextLines::decode(pattern), false);
}

std::optional<std::uint32_t> SearchTests::account(ProbeChecks& checks, const wchar_t* property,
                                                  bool users) {
    const wchar_t* value = checks.property(property);
    if (!value || checks.failed())
        return std::nullopt;
    const std::string name = utf8Of(value);
    // The name as the account files give it, then as NSS does, then a number.
    AccountFiles& files = users ? m_Users : m_Groups;
    bool& read = users ? m_UsersRead : m_GroupsRead;
    if (!read)
        read = files.load(users ? AccountFiles::Kind::Users : AccountFiles::Kind::Groups).ok();
    std::uint32_t id = 0;
    if (read && files.idOf(name, id))
        return id;
    uid_t uid = 0;
    gid_t gid = 0;
    if (users ? AccountNames::userId(name, uid) : AccountNames::groupId(name, gid))
        return users ? uid : gid;
    if (readDigits(name, id))
        return id;
    checks.fail(RC_PROPERTY_VALUE_INVALID,
                ("No such " + std::string(users ? "user" : "group") + " (" + utf8Of(property) +
                 "): " + name)
                    .c_str(),
                __LINE__);
    return std::nullopt;
}

void SearchTests::readAccounts(ProbeChecks& checks) {
    for (auto [wanted, kind, files, read] :
         {std::tuple{m_NoUser, AccountFiles::Kind::Users, &m_Users, &m_UsersRead},
          std::tuple{m_NoGroup, AccountFiles::Kind::Groups, &m_Groups, &m_GroupsRead}}) {
        if (!wanted || checks.failed())
            continue;
        const PluginKit::FileOutcome outcome = files->load(kind);
        if (!outcome.ok())
            checks.fileFailure(outcome,
                               kind == AccountFiles::Kind::Users ? AccountFiles::kPasswd
                                                                 : AccountFiles::kGroup,
                               __LINE__);
        *read = outcome.ok();
    }
}

bool SearchTests::excluded(const std::string& path) const {
    if (m_Excluded.empty())
        return false;
    const std::wstring wide = PluginKit::TextLines::decode(path);
    for (const PluginKit::WildcardFilter& pattern : m_Excluded)
        if (pattern.matches(wide))
            return true;
    return false;
}

bool SearchTests::passes(const std::string& name, const struct stat& status) const {
    if (m_Types != 0) {
        bool typed = false;
        for (unsigned i = 0; i < std::size(kTypeLetters); ++i)
            if ((m_Types & (1u << i)) && (status.st_mode & S_IFMT) == kTypeLetters[i].kind)
                typed = true;
        if (!typed)
            return false;
    }
    const unsigned bits = status.st_mode & kPermissionBits;
    // As `find -perm /MODE`: no bit asked for passes every file.
    if (m_ModeAny && *m_ModeAny != 0 && (bits & *m_ModeAny) == 0)
        return false;
    if (m_ModeNotWithin && (bits & ~*m_ModeNotWithin) == 0)
        return false;
    if ((m_Owner && status.st_uid != *m_Owner) || (m_NotOwner && status.st_uid == *m_NotOwner) ||
        (m_Group && status.st_gid != *m_Group) || (m_NotGroup && status.st_gid == *m_NotGroup))
        return false;
    if ((m_NoUser && m_Users.hasId(status.st_uid)) || (m_NoGroup && m_Groups.hasId(status.st_gid)))
        return false;
    return !m_ByName || m_Name.matches(PluginKit::TextLines::decode(name));
}

} // namespace SystemPlugin
