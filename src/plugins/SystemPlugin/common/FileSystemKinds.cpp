// The file systems a search keeps out of.
#include "SystemPlugin/common/FileSystemKinds.h"

#include <algorithm>
#include <iterator>

#include <linux/magic.h>

namespace SystemPlugin {

namespace {

// Numbers the kernel's header does not name.
constexpr unsigned long kMqueueMagic = 0x19800202;
constexpr unsigned long kConfigfsMagic = 0x62656570;
constexpr unsigned long kRpcPipefsMagic = 0x67596969;
constexpr unsigned long kFusectlMagic = 0x65735543;

constexpr const char* kPseudoTypes[] = {
    "proc",       "sysfs",   "devtmpfs",   "devpts",    "cgroup",   "cgroup2",
    "tracefs",    "debugfs", "securityfs", "pstore",    "efivarfs", "bpf",
    "configfs",   "fusectl", "mqueue",     "hugetlbfs", "autofs",   "binfmt_misc",
    "rpc_pipefs", "nsfs",    "selinuxfs",  "smackfs",   "nfsd",     "xenfs"};

constexpr unsigned long kPseudoMagics[] = {
    PROC_SUPER_MAGIC,    SYSFS_MAGIC,      DEVPTS_SUPER_MAGIC, CGROUP_SUPER_MAGIC,
    CGROUP2_SUPER_MAGIC, TRACEFS_MAGIC,    DEBUGFS_MAGIC,      SECURITYFS_MAGIC,
    PSTOREFS_MAGIC,      EFIVARFS_MAGIC,   BPF_FS_MAGIC,       kConfigfsMagic,
    kFusectlMagic,       kMqueueMagic,     HUGETLBFS_MAGIC,    AUTOFS_SUPER_MAGIC,
    BINFMTFS_MAGIC,      kRpcPipefsMagic,  NSFS_MAGIC,         SELINUX_MAGIC,
    SMACK_MAGIC,         XENFS_SUPER_MAGIC};

constexpr unsigned long kNetworkMagics[] = {NFS_SUPER_MAGIC, SMB_SUPER_MAGIC, CIFS_SUPER_MAGIC,
                                            SMB2_SUPER_MAGIC, FUSE_SUPER_MAGIC};

} // namespace

bool FileSystemKinds::isPseudoType(const std::string& type) {
    return std::any_of(std::begin(kPseudoTypes), std::end(kPseudoTypes),
                       [&](const char* pseudo) { return type == pseudo; });
}

bool FileSystemKinds::isPseudoMagic(unsigned long magic) {
    return std::find(std::begin(kPseudoMagics), std::end(kPseudoMagics), magic) !=
           std::end(kPseudoMagics);
}

bool FileSystemKinds::isNetworkMagic(unsigned long magic) {
    return std::find(std::begin(kNetworkMagics), std::end(kNetworkMagics), magic) !=
           std::end(kNetworkMagics);
}

} // namespace SystemPlugin
