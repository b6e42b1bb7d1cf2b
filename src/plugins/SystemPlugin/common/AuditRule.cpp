// One audit rule as the kernel holds it, and its normal form.
#include "SystemPlugin/common/AuditRule.h"

#include "SystemPlugin/common/AuditFields.h"

#include <cstdio>

#include <linux/audit.h>
#include <sys/stat.h>

namespace SystemPlugin {

namespace {

constexpr unsigned kDebugFsMagic = 0x64626720;
constexpr unsigned kTraceFsMagic = 0x74726163;

// The bits of mask word `word` that stand for system calls: the kernel reads
// the top 16 bits of the last word as classes of calls, never held as such.
std::uint32_t callBits(unsigned word) {
    return word + 1 < AuditRule::kMaskWords ? ~std::uint32_t{0} : std::uint32_t{0xFFFF};
}

const char* operatorText(unsigned op) {
    switch (op) {
    case AUDIT_NOT_EQUAL:
        return "!=";
    case AUDIT_LESS_THAN:
        return "<";
    case AUDIT_GREATER_THAN:
        return ">";
    case AUDIT_LESS_THAN_OR_EQUAL:
        return "<=";
    case AUDIT_GREATER_THAN_OR_EQUAL:
        return ">=";
    case AUDIT_BIT_MASK:
        return "&";
    case AUDIT_BIT_TEST:
        return "&=";
    default:
        return "=";
    }
}

const char* listText(unsigned list) {
    switch (list) {
    case AUDIT_FILTER_USER:
        return "user";
    case AUDIT_FILTER_TASK:
        return "task";
    case AUDIT_FILTER_ENTRY:
        return "entry";
    case AUDIT_FILTER_EXCLUDE:
        return "exclude";
    case AUDIT_FILTER_FS:
        return "filesystem";
    case AUDIT_FILTER_URING_EXIT:
        return "io_uring";
    default:
        return "exit";
    }
}

const char* actionText(unsigned action) {
    if (action == AUDIT_NEVER)
        return "never";
    return action == AUDIT_POSSIBLE ? "possible" : "always";
}

std::string signedText(std::uint32_t value) {
    return std::to_string(static_cast<std::int32_t>(value));
}

std::string permissionText(std::uint32_t value) {
    std::string letters;
    if (value & AUDIT_PERM_READ)
        letters += 'r';
    if (value & AUDIT_PERM_WRITE)
        letters += 'w';
    if (value & AUDIT_PERM_EXEC)
        letters += 'x';
    if (value & AUDIT_PERM_ATTR)
        letters += 'a';
    return letters;
}

std::string archText(std::uint32_t value, AuditArch machine) {
    if (value == auditArchValue(machine))
        return "b64";
    if (value == auditArchValue(companionArch(machine)))
        return "b32";
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", value);
    return hex;
}

std::string valueText(const AuditRuleField& field, AuditValueKind kind, AuditArch machine) {
    switch (kind) {
    case AuditValueKind::Argument: {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", field.value);
        return hex;
    }
    case AuditValueKind::Exit: {
        const auto value = static_cast<std::int32_t>(field.value);
        const char* name =
            value < 0 ? AuditTables::errnoNames().nameOf(-static_cast<unsigned>(field.value))
                      : nullptr;
        return name ? std::string("-") + name : std::to_string(value);
    }
    case AuditValueKind::Arch:
        return archText(field.value, machine);
    case AuditValueKind::MessageType: {
        const char* name = AuditTables::messageTypes().nameOf(field.value);
        return name ? name : std::to_string(field.value);
    }
    case AuditValueKind::FsType:
        if (field.value == kDebugFsMagic)
            return "debugfs";
        if (field.value == kTraceFsMagic)
            return "tracefs";
        return std::to_string(field.value);
    case AuditValueKind::Permission:
        return permissionText(field.value);
    case AuditValueKind::Path:
    case AuditValueKind::Directory:
    case AuditValueKind::Executable:
    case AuditValueKind::Text:
    case AuditValueKind::Key:
        return field.text;
    default:
        return signedText(field.value);
    }
}

// The path of a watch without trailing slashes ("/" stays).
std::string watchPath(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Each part of a key field: auditctl joins the keys of one rule with \x01.
template <typename Add> void forEachKey(const std::string& key, Add add) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = key.find('\x01', start);
        add(key.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return;
        start = end + 1;
    }
}

// The path, permission and key fields of a rule that reads as a watch.
struct WatchParts {
    const AuditRuleField* path = nullptr;
    const AuditRuleField* perm = nullptr;
    const AuditRuleField* key = nullptr;
};

bool asWatch(const AuditRule& rule, WatchParts& parts) {
    if (rule.list != AUDIT_FILTER_EXIT || rule.action != AUDIT_ALWAYS || !rule.allSyscalls())
        return false;
    for (const AuditRuleField& field : rule.fields) {
        const AuditRuleField** slot = nullptr;
        if (field.type == AUDIT_WATCH || field.type == AUDIT_DIR)
            slot = &parts.path;
        else if (field.type == AUDIT_PERM)
            slot = &parts.perm;
        else if (field.type == AUDIT_FILTERKEY)
            slot = &parts.key;
        if (!slot || *slot || field.op != AUDIT_EQUAL)
            return false;
        *slot = &field;
    }
    return parts.path && parts.perm;
}

std::string syscallText(const AuditRule& rule, AuditArch machine) {
    if (rule.allSyscalls())
        return "all";
    AuditArch arch = machine;
    for (const AuditRuleField& field : rule.fields)
        if (field.type == AUDIT_ARCH && field.op == AUDIT_EQUAL) {
            if (!auditArchOf(field.value, arch))
                arch = machine;
            break;
        }
    const AuditNames names = AuditTables::syscalls(arch);
    std::string text;
    for (unsigned word = 0; word < AuditRule::kMaskWords; ++word) {
        std::uint32_t bits = rule.mask[word] & callBits(word);
        for (; bits != 0; bits &= bits - 1) {
            const unsigned number = word * 32 + static_cast<unsigned>(__builtin_ctz(bits));
            if (!text.empty())
                text += ',';
            const char* name = names.nameOf(number);
            text += name ? name : std::to_string(number);
        }
    }
    return text;
}

} // namespace

bool AuditRule::allSyscalls() const {
    for (unsigned word = 0; word < kMaskWords; ++word)
        if ((mask[word] & callBits(word)) != callBits(word))
            return false;
    return true;
}

std::string AuditRule::identity() const {
    // Raw words: a text field's value is its length, so the texts cannot run
    // into what follows them.
    std::string key;
    key.reserve(sizeof(std::uint32_t) * (8 + 3 * fields.size()));
    const auto put = [&key](std::uint32_t word) {
        key.append(reinterpret_cast<const char*>(&word), sizeof word);
    };
    put(list);
    put(action);
    // The mask as runs of equal words: most are all ones or all zeros.
    for (unsigned word = 0; word < kMaskWords;) {
        unsigned end = word + 1;
        while (end < kMaskWords && mask[end] == mask[word])
            ++end;
        put(mask[word]);
        put(end - word);
        word = end;
    }
    for (const AuditRuleField& field : fields) {
        put(field.type);
        put(field.op);
        put(field.value);
        key += field.text;
    }
    return key;
}

std::string AuditRule::text(AuditArch machine) const {
    WatchParts watch;
    std::string out;
    out.reserve(128);
    if (asWatch(*this, watch)) {
        out = "-w " + watchPath(watch.path->text) + " -p " + permissionText(watch.perm->value);
        if (watch.key)
            forEachKey(watch.key->text, [&](const std::string& part) { out += " -k " + part; });
        return out;
    }
    out = std::string("-a ") + actionText(action) + ',' + listText(list);
    for (const AuditRuleField& field : fields)
        if (field.type == AUDIT_ARCH)
            out +=
                std::string(" -F arch") + operatorText(field.op) + archText(field.value, machine);
    if (list == AUDIT_FILTER_EXIT) {
        const std::string calls = syscallText(*this, machine);
        if (!calls.empty())
            out += " -S " + calls;
    }
    const AuditRuleField* key = nullptr;
    for (const AuditRuleField& field : fields) {
        if (field.type == AUDIT_ARCH)
            continue;
        if (field.type == AUDIT_FILTERKEY) {
            key = &field;
            continue;
        }
        const char* left = nullptr;
        const char* right = nullptr;
        if (field.type == AUDIT_FIELD_COMPARE &&
            AuditFields::comparePair(field.value, left, right)) {
            out += std::string(" -C ") + left + operatorText(field.op) + right;
            continue;
        }
        const AuditField* known = AuditFields::byType(field.type);
        if (!known) {
            out += " -F " + std::to_string(field.type) + operatorText(field.op) +
                   signedText(field.value);
            continue;
        }
        std::string value = valueText(field, known->kind, machine);
        if (known->kind == AuditValueKind::Path || known->kind == AuditValueKind::Directory)
            value = watchPath(value);
        out += std::string(" -F ") + known->name + operatorText(field.op) + value;
    }
    if (key)
        forEachKey(key->text, [&](const std::string& part) { out += " -F key=" + part; });
    return out;
}

AuditArch machineArch() {
#if defined(__aarch64__)
    return AuditArch::Aarch64;
#else
    return AuditArch::X86_64;
#endif
}

std::uint32_t auditArchValue(AuditArch arch) {
    switch (arch) {
    case AuditArch::X86_64:
        return AUDIT_ARCH_X86_64;
    case AuditArch::I386:
        return AUDIT_ARCH_I386;
    case AuditArch::Aarch64:
        return AUDIT_ARCH_AARCH64;
    case AuditArch::Arm:
        break;
    }
    return AUDIT_ARCH_ARM;
}

bool auditArchOf(std::uint32_t value, AuditArch& arch) {
    for (const AuditArch candidate :
         {AuditArch::X86_64, AuditArch::I386, AuditArch::Aarch64, AuditArch::Arm})
        if (auditArchValue(candidate) == value) {
            arch = candidate;
            return true;
        }
    return false;
}

AuditArch companionArch(AuditArch arch) {
    if (arch == AuditArch::X86_64)
        return AuditArch::I386;
    return arch == AuditArch::Aarch64 ? AuditArch::Arm : arch;
}

} // namespace SystemPlugin
