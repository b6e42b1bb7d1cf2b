// One line of an audit rules file read as `auditctl -R` reads it.
#include "SystemPlugin/common/AuditLine.h"

#include "SystemPlugin/common/AccountNames.h"
#include "SystemPlugin/common/AuditFields.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <vector>

#include <linux/audit.h>
#include <sys/socket.h>
#include <sys/stat.h>

namespace SystemPlugin {

namespace {

constexpr std::uint32_t kUnset = 0xFFFFFFFF;
constexpr std::size_t kMaxKeyLength = AUDIT_MAX_KEY_LEN;
constexpr unsigned kAllPermissions =
    AUDIT_PERM_READ | AUDIT_PERM_WRITE | AUDIT_PERM_EXEC | AUDIT_PERM_ATTR;
constexpr unsigned kDebugFsMagic = 0x64626720;
constexpr unsigned kTraceFsMagic = 0x74726163;
// The kernel reads the top 16 bits of the mask as classes of system calls.
constexpr unsigned kFirstClassBit = AuditRule::kMaskWords * 32 - 16;

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// A number as auditctl reads one (strtoul/strtol, base 0, what follows the
// digits ignored), kept to the kernel's 32 bits; a leading '-' only where
// `negative` allows it.
bool readNumber(const std::string& text, bool negative, std::uint32_t& value) {
    if (!text.empty() && isDigit(text[0])) {
        value = static_cast<std::uint32_t>(std::strtoull(text.c_str(), nullptr, 0));
        return true;
    }
    if (negative && text.size() > 1 && text[0] == '-' && isDigit(text[1])) {
        value = static_cast<std::uint32_t>(std::strtoll(text.c_str(), nullptr, 0));
        return true;
    }
    return false;
}

bool readOperator(std::string_view text, unsigned& op, std::size_t& length) {
    static const struct {
        const char* text;
        unsigned op;
    } kOperators[] = {{"!=", AUDIT_NOT_EQUAL},
                      {">=", AUDIT_GREATER_THAN_OR_EQUAL},
                      {"<=", AUDIT_LESS_THAN_OR_EQUAL},
                      {"&=", AUDIT_BIT_TEST},
                      {"=", AUDIT_EQUAL},
                      {">", AUDIT_GREATER_THAN},
                      {"<", AUDIT_LESS_THAN},
                      {"&", AUDIT_BIT_MASK}};
    for (const auto& candidate : kOperators) {
        const std::string_view spelled = candidate.text;
        if (text.substr(0, spelled.size()) == spelled) {
            op = candidate.op;
            length = spelled.size();
            return true;
        }
    }
    return false;
}

bool readPermissions(const std::string& text, std::uint32_t& value) {
    value = 0;
    for (const char c : text) {
        if (c == 'r')
            value |= AUDIT_PERM_READ;
        else if (c == 'w')
            value |= AUDIT_PERM_WRITE;
        else if (c == 'x')
            value |= AUDIT_PERM_EXEC;
        else if (c == 'a')
            value |= AUDIT_PERM_ATTR;
        else
            return false;
    }
    return !text.empty();
}

bool readArch(const std::string& text, AuditArch machine, std::uint32_t& value) {
    const AuditArch companion = companionArch(machine);
    AuditArch arch = machine;
    if (text == "b64")
        arch = machine;
    else if (text == "b32")
        arch = companion;
    else if (machine == AuditArch::X86_64 && text == "x86_64")
        arch = machine;
    else if (machine == AuditArch::X86_64 &&
             (text == "i386" || text == "i486" || text == "i586" || text == "i686"))
        arch = companion;
    else if (machine == AuditArch::Aarch64 && text == "aarch64")
        arch = machine;
    else if (machine == AuditArch::Aarch64 &&
             (text == "arm" || text == "armv7l" || text == "armeb"))
        arch = companion;
    else
        return false;
    value = auditArchValue(arch);
    return true;
}

bool readFileType(const std::string& text, std::uint32_t& value) {
    static const struct {
        const char* name;
        unsigned type;
    } kTypes[] = {{"file", S_IFREG}, {"dir", S_IFDIR},       {"socket", S_IFSOCK},
                  {"link", S_IFLNK}, {"character", S_IFCHR}, {"block", S_IFBLK},
                  {"fifo", S_IFIFO}};
    for (const auto& type : kTypes)
        if (text == type.name) {
            value = type.type;
            return true;
        }
    return false;
}

bool readExit(const std::string& text, std::uint32_t& value) {
    if (readNumber(text, true, value))
        return true;
    const bool negative = !text.empty() && text[0] == '-';
    unsigned number = 0;
    if (!AuditTables::errnoNames().numberOf(negative ? text.substr(1) : text, number))
        return false;
    value = negative ? 0U - number : number;
    return true;
}

bool readAccount(const std::string& text, bool user, std::uint32_t& value) {
    if (readNumber(text, true, value))
        return true;
    if (text == "unset") {
        value = kUnset;
        return true;
    }
    if (user) {
        uid_t uid = 0;
        return AccountNames::userId(text, uid) && ((value = uid), true);
    }
    gid_t gid = 0;
    return AccountNames::groupId(text, gid) && ((value = gid), true);
}

// Reads the value of `field` from `text` as auditctl does.
bool readValue(const AuditField& field, const std::string& text, AuditArch machine,
               AuditRuleField& out) {
    out.type = field.type;
    switch (field.kind) {
    case AuditValueKind::User:
    case AuditValueKind::LoginUser:
        return readAccount(text, true, out.value);
    case AuditValueKind::Group:
        return readAccount(text, false, out.value);
    case AuditValueKind::Session:
        if (text == "unset")
            return (out.value = kUnset), true;
        return readNumber(text, false, out.value);
    case AuditValueKind::Argument:
        return readNumber(text, true, out.value);
    case AuditValueKind::Exit:
        return readExit(text, out.value);
    case AuditValueKind::Arch:
        return readArch(text, machine, out.value);
    case AuditValueKind::MessageType: {
        unsigned number = 0;
        if (AuditTables::messageTypes().numberOf(text, number))
            return (out.value = number), true;
        return readNumber(text, false, out.value);
    }
    case AuditValueKind::FileType:
        return readFileType(text, out.value);
    case AuditValueKind::Permission:
        return readPermissions(text, out.value);
    case AuditValueKind::FsType:
        if (text == "debugfs" || text == "tracefs")
            return (out.value = text == "debugfs" ? kDebugFsMagic : kTraceFsMagic), true;
        return readNumber(text, false, out.value);
    case AuditValueKind::Path:
    case AuditValueKind::Directory:
    case AuditValueKind::Executable:
    case AuditValueKind::Text:
    case AuditValueKind::Key:
        if (text.size() > PATH_MAX)
            return false;
        out.text = text;
        out.value = static_cast<std::uint32_t>(text.size());
        return true;
    default:
        return readNumber(text, false, out.value);
    }
}

bool isUserOrGroup(AuditValueKind kind) {
    return kind == AuditValueKind::User || kind == AuditValueKind::Group;
}

// The kernel's checks of a field on a list (kernel/auditfilter.c): which
// operators a field takes, which lists take it, which values it takes.
const char* kernelRefusal(const AuditRule& rule, const AuditRuleField& field) {
    const AuditField* known = AuditFields::byType(field.type);
    if (!known)
        return "unknown field";
    if (field.type == AUDIT_MSGTYPE && rule.list != AUDIT_FILTER_EXCLUDE &&
        rule.list != AUDIT_FILTER_USER)
        return "msgtype field can only be used with exclude or user filter list";
    if ((field.type == AUDIT_EXIT || field.type == AUDIT_SUCCESS) && rule.list != AUDIT_FILTER_EXIT)
        return "exit and success only on the exit list";
    if (field.type == AUDIT_FSTYPE && rule.list != AUDIT_FILTER_FS)
        return "fstype field is not valid for the filter";
    if (rule.list == AUDIT_FILTER_FS && field.type != AUDIT_FSTYPE && field.type != AUDIT_FILTERKEY)
        return "only fstype and key on the filesystem list";
    const bool bitOperator = field.op == AUDIT_BIT_MASK || field.op == AUDIT_BIT_TEST;
    const bool equality = field.op == AUDIT_EQUAL || field.op == AUDIT_NOT_EQUAL;
    switch (known->kind) {
    case AuditValueKind::Argument:
        break;
    case AuditValueKind::Number:
        if (bitOperator && field.type != AUDIT_PERS && field.type != AUDIT_DEVMINOR)
            return "bit operators only on system-call arguments";
        break;
    case AuditValueKind::User:
    case AuditValueKind::Group:
    case AuditValueKind::LoginUser:
    case AuditValueKind::Session:
    case AuditValueKind::Exit:
    case AuditValueKind::MessageType:
        if (bitOperator)
            return "bit operators only on system-call arguments";
        break;
    case AuditValueKind::Text:
        if (field.type != AUDIT_SUBJ_SEN && field.type != AUDIT_SUBJ_CLR &&
            field.type != AUDIT_OBJ_LEV_LOW && field.type != AUDIT_OBJ_LEV_HIGH && !equality)
            return "only = and != on this field";
        if (bitOperator)
            return "bit operators only on system-call arguments";
        break;
    default:
        if (!equality)
            return "only = and != on this field";
    }
    if (isUserOrGroup(known->kind) && field.value == kUnset)
        return "not a valid id";
    if ((field.type == AUDIT_LOGINUID_SET && field.value > 1) ||
        (field.type == AUDIT_PERM && (field.value & ~15U)) ||
        (field.type == AUDIT_FILETYPE && (field.value & ~static_cast<unsigned>(S_IFMT))) ||
        (field.type == AUDIT_FIELD_COMPARE && field.value > AUDIT_MAX_FIELD_COMPARE) ||
        (field.type == AUDIT_SADDR_FAM && field.value >= AF_MAX))
        return "value out of range";
    return nullptr;
}

// The kernel looks a watched path's directory up when the rule is added (a
// directory rule: the directory itself), so it refuses one that is missing.
const char* missingPath(const AuditRuleField& field) {
    if (field.type != AUDIT_WATCH && field.type != AUDIT_DIR)
        return nullptr;
    std::string path = field.text;
    if (field.type == AUDIT_WATCH)
        path.erase(path.find_last_of('/') + 1);
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return "no such file or directory";
    if (field.type == AUDIT_WATCH && !S_ISDIR(status.st_mode))
        return "not a directory";
    return nullptr;
}

// The kernel's checks of a whole rule: paths, one watch, one executable.
// `pathFound`: the watched path was just found, so its directory is there.
const char* kernelRefusal(const AuditRule& rule, bool pathFound) {
    // auditctl adds at most 63 fields, the key's included.
    if (rule.fields.size() >= AUDIT_MAX_FIELDS)
        return "too many fields";
    int paths = 0;
    int executables = 0;
    for (const AuditRuleField& field : rule.fields) {
        if (const char* refusal = kernelRefusal(rule, field))
            return refusal;
        const bool watch = field.type == AUDIT_WATCH || field.type == AUDIT_DIR;
        if (watch || field.type == AUDIT_INODE)
            ++paths;
        if (field.type == AUDIT_EXE)
            ++executables;
        if (watch || field.type == AUDIT_EXE) {
            if (field.text.empty() || field.text[0] != '/' || (watch && field.op != AUDIT_EQUAL))
                return "not an absolute path";
            if (rule.list != AUDIT_FILTER_EXIT)
                return "paths only on the exit list";
        }
        if (field.type == AUDIT_WATCH && field.text.back() == '/')
            return "a path ending in /";
        if (const char* refusal = pathFound ? nullptr : missingPath(field))
            return refusal;
    }
    if (paths > 1 || executables > 1)
        return "more than one path or executable";
    return nullptr;
}

bool readList(const std::string& text, AuditRule& rule) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos)
        return false;
    static const struct {
        const char* name;
        unsigned list;
    } kLists[] = {{"task", AUDIT_FILTER_TASK},     {"exit", AUDIT_FILTER_EXIT},
                  {"user", AUDIT_FILTER_USER},     {"exclude", AUDIT_FILTER_EXCLUDE},
                  {"filesystem", AUDIT_FILTER_FS}, {"io_uring", AUDIT_FILTER_URING_EXIT}};
    bool haveList = false;
    bool haveAction = false;
    for (const std::string& part : {text.substr(0, comma), text.substr(comma + 1)}) {
        if (part == "always" || part == "never") {
            haveAction = !haveAction;
            rule.action = part == "always" ? AUDIT_ALWAYS : AUDIT_NEVER;
            continue;
        }
        for (const auto& list : kLists)
            if (part == list.name) {
                haveList = !haveList;
                rule.list = list.list;
            }
    }
    return haveList && haveAction;
}

class LineReader {
public:
    LineReader(AuditLine& line, AuditArch machine, std::string& error)
        : m_Line(line), m_Machine(machine), m_NameArch(machine), m_Error(error) {}

    bool read(const std::vector<std::string>& words);

private:
    bool fail(const char* message) {
        m_Error = message;
        return false;
    }
    bool option(char letter, const std::string& argument);
    bool rule(char letter, const std::string& argument);
    bool syscalls(const std::string& argument);
    bool field(const std::string& argument);
    bool compare(const std::string& argument);
    bool watch(char letter, const std::string& argument);
    bool key(const std::string& argument);
    bool finish();

    AuditLine& m_Line;
    AuditArch m_Machine;
    AuditArch m_NameArch;
    std::string& m_Error;
    bool m_HaveRule = false;
    bool m_Watch = false;
    bool m_HaveSyscalls = false;
    bool m_HavePermissions = false;
    bool m_HaveKey = false;
    bool m_Settings = false;
    std::uint32_t m_Permissions = kAllPermissions;
    std::string m_Path;
    std::string m_Keys;
    std::vector<AuditRuleField> m_Fields;
};

bool takesArgument(char letter) {
    static const std::string kWithArgument = "aAdSFCwWkpebfrmRtq";
    return kWithArgument.find(letter) != std::string::npos;
}

bool LineReader::read(const std::vector<std::string>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word[0] != '-')
            return fail("unknown option");
        if (word[1] == '-') {
            if (word == "--loginuid-immutable" || word == "--reset-lost" ||
                word == "--reset_backlog_wait_time_actual") {
                m_Settings = true;
                continue;
            }
            std::uint32_t value = 0;
            if (word != "--backlog_wait_time" || i + 1 == words.size() ||
                !readNumber(words[++i], false, value))
                return fail("unknown option");
            m_Settings = true;
            continue;
        }
        for (std::size_t at = 1; at < word.size(); ++at) {
            const char letter = word[at];
            if (!takesArgument(letter)) {
                if (!option(letter, std::string()))
                    return false;
                continue;
            }
            std::string argument = word.substr(at + 1);
            if (argument.empty()) {
                if (i + 1 == words.size())
                    return fail("option requires an argument");
                argument = words[++i];
            }
            if (!option(letter, argument))
                return false;
            break;
        }
    }
    return finish();
}

bool LineReader::option(char letter, const std::string& argument) {
    std::uint32_t value = 0;
    switch (letter) {
    case 'a':
    case 'A':
    case 'd':
        return rule(letter, argument);
    case 'S':
        return syscalls(argument);
    case 'F':
        return field(argument);
    case 'C':
        return compare(argument);
    case 'w':
    case 'W':
        return watch(letter, argument);
    case 'k':
        return key(argument);
    case 'p':
        m_HavePermissions = true;
        return readPermissions(argument, m_Permissions) || fail("permissions other than rwxa");
    case 'D':
        m_Line.kind = AuditLine::Kind::DeleteAll;
        return true;
    case 'e':
        if (!readNumber(argument, false, value) || value > 2)
            return fail("-e takes 0, 1 or 2");
        m_Line.kind = AuditLine::Kind::Enable;
        m_Line.enable = static_cast<int>(value);
        return true;
    case 'f':
        if (!readNumber(argument, false, value) || value > 2)
            return fail("-f takes 0, 1 or 2");
        m_Settings = true;
        return true;
    case 'b':
    case 'r':
        m_Settings = true;
        return readNumber(argument, false, value) || fail("not a number");
    case 'c':
        m_Line.continueOnError = true;
        return true;
    case 'i':
        m_Line.ignoreErrors = true;
        return true;
    case 'l':
    case 's':
        m_Settings = true;
        return true;
    default:
        return fail("an option rules files do not use here");
    }
}

bool LineReader::rule(char letter, const std::string& argument) {
    if (m_HaveRule || m_Watch)
        return fail("more than one rule on the line");
    m_HaveRule = true;
    if (!readList(argument, m_Line.rule))
        return fail("not a list and action");
    m_Line.kind = letter == 'A'   ? AuditLine::Kind::Prepend
                  : letter == 'd' ? AuditLine::Kind::Delete
                                  : AuditLine::Kind::Append;
    return true;
}

bool LineReader::syscalls(const std::string& argument) {
    if (m_Watch)
        return true;
    if (!m_HaveRule || m_Line.rule.list != AUDIT_FILTER_EXIT)
        return fail("system calls only on the exit list");
    if (m_HaveKey)
        return fail("-k before -S");
    m_HaveSyscalls = true;
    const AuditNames names = AuditTables::syscalls(m_NameArch);
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = argument.find(',', start);
        const std::string name =
            argument.substr(start, comma == std::string::npos ? comma : comma - start);
        unsigned number = 0;
        if (name == "all")
            m_Line.rule.setAllSyscalls();
        else if (names.numberOf(name, number))
            m_Line.rule.addSyscall(number);
        else if (!name.empty() && isDigit(name[0]) &&
                 (number = static_cast<unsigned>(std::strtoul(name.c_str(), nullptr, 10))) <
                     kFirstClassBit)
            m_Line.rule.addSyscall(number);
        else if (!name.empty() && isDigit(name[0]) && number < AuditRule::kMaskWords * 32)
            return fail("a system-call class bit, which the kernel widens to a set this reader "
                        "does not hold");
        else
            return fail("unknown system call");
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

bool LineReader::field(const std::string& argument) {
    const std::size_t at = argument.find_first_of("=!<>&");
    if (at == std::string::npos)
        return fail("-F without an operator");
    unsigned op = 0;
    std::size_t length = 0;
    if (!readOperator(std::string_view(argument).substr(at), op, length))
        return fail("-F without an operator");
    const std::string value = argument.substr(at + length);
    const AuditField* known = AuditFields::byName(std::string_view(argument).substr(0, at));
    if (!known)
        return fail("unknown field");
    if (value.empty())
        return fail("-F without a value");
    if (known->kind == AuditValueKind::Key)
        return key(value);
    AuditRuleField field;
    field.op = op;
    if (!readValue(*known, value, m_Machine, field))
        return fail("not a value of the field");
    if (known->kind == AuditValueKind::Arch) {
        if (m_HaveSyscalls)
            return fail("arch must be before -S");
        if (op == AUDIT_EQUAL && !auditArchOf(field.value, m_NameArch))
            m_NameArch = m_Machine;
    }
    m_Fields.push_back(std::move(field));
    return true;
}

bool LineReader::compare(const std::string& argument) {
    const std::size_t at = argument.find_first_of("=!");
    unsigned op = 0;
    std::size_t length = 0;
    unsigned which = 0;
    if (at == std::string::npos ||
        !readOperator(std::string_view(argument).substr(at), op, length) ||
        (op != AUDIT_EQUAL && op != AUDIT_NOT_EQUAL) ||
        !AuditFields::compareNumber(std::string_view(argument).substr(0, at),
                                    std::string_view(argument).substr(at + length), which))
        return fail("not a comparison of two fields");
    AuditRuleField field;
    field.type = AUDIT_FIELD_COMPARE;
    field.op = op;
    field.value = which;
    m_Fields.push_back(field);
    return true;
}

bool LineReader::watch(char letter, const std::string& argument) {
    if (m_HaveRule || m_Watch)
        return fail("more than one rule on the line");
    if (argument.empty() || argument[0] != '/')
        return fail("a watch needs an absolute path");
    m_Watch = true;
    m_Path = argument;
    while (m_Path.size() > 1 && m_Path.back() == '/')
        m_Path.pop_back();
    m_Line.kind = letter == 'W' ? AuditLine::Kind::Delete : AuditLine::Kind::Append;
    return true;
}

bool LineReader::key(const std::string& argument) {
    if (!m_Keys.empty() || m_HaveKey)
        m_Keys += '\x01';
    m_Keys += argument;
    m_HaveKey = true;
    return m_Keys.size() <= kMaxKeyLength || fail("key too long");
}

bool LineReader::finish() {
    AuditRule& rule = m_Line.rule;
    if (m_HavePermissions && !m_Watch)
        return fail("-p without -w");
    if (m_Line.kind == AuditLine::Kind::DeleteAll) {
        if (m_HaveRule || m_Watch || !m_Fields.empty())
            return fail("-D with a rule");
        m_Line.deleteKey = m_Keys;
        return true;
    }
    if (!m_HaveRule && !m_Watch) {
        if (m_HaveKey || !m_Fields.empty() || m_HaveSyscalls)
            return fail("fields without a rule");
        return true;
    }
    std::vector<AuditRuleField> fields;
    bool pathFound = false;
    if (m_Watch) {
        rule.list = AUDIT_FILTER_EXIT;
        rule.action = AUDIT_ALWAYS;
        rule.setAllSyscalls();
        struct stat status {};
        pathFound = ::stat(m_Path.c_str(), &status) == 0;
        AuditRuleField path;
        path.type = pathFound && S_ISDIR(status.st_mode) ? AUDIT_DIR : AUDIT_WATCH;
        path.op = AUDIT_EQUAL;
        path.text = m_Path;
        path.value = static_cast<std::uint32_t>(m_Path.size());
        AuditRuleField permissions;
        permissions.type = AUDIT_PERM;
        permissions.op = AUDIT_EQUAL;
        permissions.value = m_Permissions;
        fields = {path, permissions};
    } else if (rule.list == AUDIT_FILTER_EXIT && !m_HaveSyscalls) {
        rule.setAllSyscalls();
    } else if (rule.list == AUDIT_FILTER_TASK) {
        rule.setAllSyscalls();
    }
    fields.insert(fields.end(), m_Fields.begin(), m_Fields.end());
    if (!m_Keys.empty()) {
        AuditRuleField key;
        key.type = AUDIT_FILTERKEY;
        key.op = AUDIT_EQUAL;
        key.text = m_Keys;
        key.value = static_cast<std::uint32_t>(m_Keys.size());
        fields.push_back(key);
    }
    rule.fields = std::move(fields);
    if (const char* refusal = kernelRefusal(rule, pathFound))
        return fail(refusal);
    return true;
}

} // namespace

bool AuditLine::read(std::string_view line, AuditArch machine, std::string& error) {
    *this = AuditLine();
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = line.find(' ', start);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        if (stop > start)
            words.emplace_back(line.substr(start, stop - start));
        start = stop + 1;
    }
    if (words.empty() || words[0][0] == '#')
        return true;
    LineReader reader(*this, machine, error);
    return reader.read(words);
}

} // namespace SystemPlugin
