// The fields an audit rule can test.
#include "SystemPlugin/common/AuditFields.h"

#include <iterator>

#include <linux/audit.h>

namespace SystemPlugin {

namespace {

using K = AuditValueKind;

constexpr AuditField kFields[] = {
    {"pid", AUDIT_PID, K::Number},
    {"uid", AUDIT_UID, K::User},
    {"euid", AUDIT_EUID, K::User},
    {"suid", AUDIT_SUID, K::User},
    {"fsuid", AUDIT_FSUID, K::User},
    {"gid", AUDIT_GID, K::Group},
    {"egid", AUDIT_EGID, K::Group},
    {"sgid", AUDIT_SGID, K::Group},
    {"fsgid", AUDIT_FSGID, K::Group},
    {"auid", AUDIT_LOGINUID, K::LoginUser},
    {"pers", AUDIT_PERS, K::Number},
    {"arch", AUDIT_ARCH, K::Arch},
    {"msgtype", AUDIT_MSGTYPE, K::MessageType},
    {"subj_user", AUDIT_SUBJ_USER, K::Text},
    {"subj_role", AUDIT_SUBJ_ROLE, K::Text},
    {"subj_type", AUDIT_SUBJ_TYPE, K::Text},
    {"subj_sen", AUDIT_SUBJ_SEN, K::Text},
    {"subj_clr", AUDIT_SUBJ_CLR, K::Text},
    {"ppid", AUDIT_PPID, K::Number},
    {"obj_user", AUDIT_OBJ_USER, K::Text},
    {"obj_role", AUDIT_OBJ_ROLE, K::Text},
    {"obj_type", AUDIT_OBJ_TYPE, K::Text},
    {"obj_lev_low", AUDIT_OBJ_LEV_LOW, K::Text},
    {"obj_lev_high", AUDIT_OBJ_LEV_HIGH, K::Text},
    {"loginuid_set", AUDIT_LOGINUID_SET, K::Flag},
    {"sessionid", AUDIT_SESSIONID, K::Session},
    {"fstype", AUDIT_FSTYPE, K::FsType},
    {"devmajor", AUDIT_DEVMAJOR, K::Number},
    {"devminor", AUDIT_DEVMINOR, K::Number},
    {"inode", AUDIT_INODE, K::Number},
    {"exit", AUDIT_EXIT, K::Exit},
    {"success", AUDIT_SUCCESS, K::Number},
    {"path", AUDIT_WATCH, K::Path},
    {"perm", AUDIT_PERM, K::Permission},
    {"dir", AUDIT_DIR, K::Directory},
    {"filetype", AUDIT_FILETYPE, K::FileType},
    {"obj_uid", AUDIT_OBJ_UID, K::User},
    {"obj_gid", AUDIT_OBJ_GID, K::Group},
    {"field_compare", AUDIT_FIELD_COMPARE, K::Compare},
    {"exe", AUDIT_EXE, K::Executable},
    {"saddr_fam", AUDIT_SADDR_FAM, K::Number},
    {"a0", AUDIT_ARG0, K::Argument},
    {"a1", AUDIT_ARG1, K::Argument},
    {"a2", AUDIT_ARG2, K::Argument},
    {"a3", AUDIT_ARG3, K::Argument},
    {"key", AUDIT_FILTERKEY, K::Key},
};

struct ComparePair {
    unsigned which;
    const char* left;
    const char* right;
};

constexpr ComparePair kCompares[] = {
    {AUDIT_COMPARE_UID_TO_OBJ_UID, "uid", "obj_uid"},
    {AUDIT_COMPARE_GID_TO_OBJ_GID, "gid", "obj_gid"},
    {AUDIT_COMPARE_EUID_TO_OBJ_UID, "euid", "obj_uid"},
    {AUDIT_COMPARE_EGID_TO_OBJ_GID, "egid", "obj_gid"},
    {AUDIT_COMPARE_AUID_TO_OBJ_UID, "auid", "obj_uid"},
    {AUDIT_COMPARE_SUID_TO_OBJ_UID, "suid", "obj_uid"},
    {AUDIT_COMPARE_SGID_TO_OBJ_GID, "sgid", "obj_gid"},
    {AUDIT_COMPARE_FSUID_TO_OBJ_UID, "fsuid", "obj_uid"},
    {AUDIT_COMPARE_FSGID_TO_OBJ_GID, "fsgid", "obj_gid"},
    {AUDIT_COMPARE_UID_TO_AUID, "uid", "auid"},
    {AUDIT_COMPARE_UID_TO_EUID, "uid", "euid"},
    {AUDIT_COMPARE_UID_TO_FSUID, "uid", "fsuid"},
    {AUDIT_COMPARE_UID_TO_SUID, "uid", "suid"},
    {AUDIT_COMPARE_AUID_TO_FSUID, "auid", "fsuid"},
    {AUDIT_COMPARE_AUID_TO_SUID, "auid", "suid"},
    {AUDIT_COMPARE_AUID_TO_EUID, "auid", "euid"},
    {AUDIT_COMPARE_EUID_TO_SUID, "euid", "suid"},
    {AUDIT_COMPARE_EUID_TO_FSUID, "euid", "fsuid"},
    {AUDIT_COMPARE_SUID_TO_FSUID, "suid", "fsuid"},
    {AUDIT_COMPARE_GID_TO_EGID, "gid", "egid"},
    {AUDIT_COMPARE_GID_TO_FSGID, "gid", "fsgid"},
    {AUDIT_COMPARE_GID_TO_SGID, "gid", "sgid"},
    {AUDIT_COMPARE_EGID_TO_FSGID, "egid", "fsgid"},
    {AUDIT_COMPARE_EGID_TO_SGID, "egid", "sgid"},
    {AUDIT_COMPARE_SGID_TO_FSGID, "sgid", "fsgid"},
};

} // namespace

const AuditField* AuditFields::byName(std::string_view name) {
    if (name == "loginuid")
        name = "auid";
    for (const AuditField& field : kFields)
        if (name == field.name)
            return &field;
    return nullptr;
}

const AuditField* AuditFields::byType(unsigned type) {
    for (const AuditField& field : kFields)
        if (field.type == type)
            return &field;
    return nullptr;
}

bool AuditFields::comparePair(unsigned which, const char*& left, const char*& right) {
    for (const ComparePair& pair : kCompares)
        if (pair.which == which) {
            left = pair.left;
            right = pair.right;
            return true;
        }
    return false;
}

bool AuditFields::compareNumber(std::string_view left, std::string_view right, unsigned& which) {
    if (left == "loginuid")
        left = "auid";
    if (right == "loginuid")
        right = "auid";
    for (const ComparePair& pair : kCompares)
        if ((left == pair.left && right == pair.right) ||
            (left == pair.right && right == pair.left)) {
            which = pair.which;
            return true;
        }
    return false;
}

} // namespace SystemPlugin
