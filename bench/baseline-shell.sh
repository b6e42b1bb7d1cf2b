#!/usr/bin/env bash
# The checks of examples/baseline/debian12.json written as a shell script of
# stat, getfacl, awk, grep, findmnt, sysctl, systemd-sysctl and dpkg-query
# calls, as an administrator would write them, for bench/baseline.sh to time
# beside `corehost eval`. Prints "id pass|FAIL|skip" per rule and a summary.
# It reads sshd's files with awk (first value wins, Include globs followed,
# Match blocks left out), as sshd -T cannot run without /run/sshd; the
# sysctl.d set comes from `systemd-sysctl --cat-config`, read once.
set -uo pipefail

passed=0 failed=0 skipped=0
report() { # id status(0 pass, 1 fail, 2 skip)
    case $2 in
    0) echo "$1 pass"; passed=$((passed + 1)) ;;
    2) echo "$1 skip"; skipped=$((skipped + 1)) ;;
    *) echo "$1 FAIL"; failed=$((failed + 1)) ;;
    esac
}
check() { local id=$1; shift; if "$@"; then report "$id" 0; else report "$id" 1; fi; }
only_if() { # id condition... -- check...
    local id=$1 condition=()
    shift
    while [ "$1" != -- ]; do condition+=("$1"); shift; done
    shift
    if "${condition[@]}"; then check "$id" "$@"; else report "$id" 2; fi
}
installed() {
    case $(dpkg-query -W -f='${db:Status-Status}\n' "$1" 2>/dev/null | head -n1) in
    "" | not-installed | config-files) return 1 ;;
    *) return 0 ;;
    esac
}
none_installed() { # dpkg-query patterns
    ! dpkg-query -W -f='${db:Status-Status}\n' "$@" 2>/dev/null | grep -qvE '^(not-installed|config-files)$'
}
pkg_and_file() { installed "$1" && [ -f "$2" ]; }
pkg_and_dir() { installed "$1" && [ -d "$2" ]; }
mode_within() { local mode; mode=$(stat -L -c %a "$1") && (((8#$mode & ~8#$2) == 0)); }
perms() { # path max-mode owner group
    [ "$(stat -L -c '%U %G' "$1")" = "$3 $4" ] && mode_within "$1" "$2" &&
        [ -z "$(getfacl -s -p "$1" 2>/dev/null)" ]
}
sticky() { [ -k "$1" ]; }
owned_by_root_within() { mode_within "$1" "$2" && [ "$(stat -L -c %U "$1")" = root ]; }
dir_root_within() { mode_within "$1" "$2" && [ "$(stat -L -c '%U %G' "$1")" = "root root" ]; }
no_output() { [ -z "$("$@")" ]; }
logindefs() { # key default
    awk -v key="$1" -v def="$2" '$1 == key { value = $2 } END { print (value == "" ? def : value) }' /etc/login.defs
}
int_cmp() { local value; value=$("${@:3}") && [[ $value =~ ^-?[0-9]+$ ]] && test "$value" "$1" "$2"; }
matches() { [[ $1 =~ $2 ]]; }

# sshd: the first value of a keyword outside Match blocks, Includes followed.
sshd_files() { # the files in the order sshd reads them, from sshd_config
    awk 'tolower($1) == "include" { for (i = 2; i <= NF; i++) print "include " $i; next }
         tolower($1) == "match" { exit } { }' /etc/ssh/sshd_config | while read -r _ glob; do
        [[ $glob == /* ]] || glob=/etc/ssh/$glob
        # shellcheck disable=SC2086 # the glob is expanded here
        for file in $glob; do [ -f "$file" ] && echo "$file"; done
    done
    echo /etc/ssh/sshd_config
}
sshd_value() { # keyword default
    local files
    mapfile -t files < <(sshd_files)
    awk -v key="${1,,}" -v def="$2" '
        FNR == 1 { inmatch = 0 }
        /^[ \t]*#/ || NF == 0 { next }
        tolower($1) == "match" { inmatch = tolower($2) != "all"; next }
        !inmatch && !found && tolower($1) == key { value = $2; found = 1 }
        END { print (found ? value : def) }' "${files[@]}"
}
sshd_is() { [ "$(sshd_value "$1" "$2" | tr '[:upper:]' '[:lower:]')" = "$3" ]; }
sshd_matches() { sshd_value "$1" "$2" | grep -Eq "$3"; }
sshd_lacks() { ! sshd_value "$1" "$2" | grep -Eqi "$3"; }
ssh_present() { installed openssh-server && [ -f /etc/ssh/sshd_config ]; }

# Kernel parameters: the running value, and the last value the sysctl.d set
# gives (systemd-sysctl's own listing); globbed keys are not expanded here.
sysctl_config=$( (/lib/systemd/systemd-sysctl --cat-config 2>/dev/null ||
    cat /etc/sysctl.d/*.conf /usr/lib/sysctl.d/*.conf 2>/dev/null) | grep -Ev '^[[:space:]]*([#;]|$)')
kernel() { # name test wanted
    local running boot
    running=$(sysctl -n "$1" 2>/dev/null) || return 1
    boot=$(printf '%s\n' "$sysctl_config" | awk -F= -v key="$1" -v def="$3" '
        { k = $1; gsub(/[ \t]/, "", k); sub(/^-/, "", k); gsub("/", ".", k) }
        k == key { v = $2; gsub(/^[ \t]+|[ \t]+$/, "", v); value = v }
        END { print (value == "" ? def : value) }')
    test "$running" "$2" "$3" && test "$boot" "$2" "$3"
}
# Of stacked mounts findmnt lists every one; the last is the one on top.
separate() { [ "$(findmnt -n -o TARGET -T "$1" | tail -n1)" = "$1" ]; }
mount_has() { findmnt -n -o OPTIONS -T "$2" | tail -n1 | tr , '\n' | grep -qx "$1"; }

# --- accounts
check accounts-uid0-only-root [ "$(awk -F: '$3 == 0 { print $1 }' /etc/passwd)" = root ]
check accounts-no-empty-passwords no_output awk -F: '$2 == "" { print $1 }' /etc/shadow
check accounts-passwords-shadowed no_output awk -F: '$2 != "x" { print $1 }' /etc/passwd
check accounts-no-duplicate-uids no_output sh -c "cut -d: -f3 /etc/passwd | sort | uniq -d"
check accounts-no-duplicate-names no_output sh -c "cut -d: -f1 /etc/passwd | sort | uniq -d"
check accounts-no-duplicate-gids no_output sh -c "cut -d: -f3 /etc/group | sort | uniq -d"
check accounts-root-primary-group [ "$(awk -F: '$1 == "root" { print $4 }' /etc/passwd)" = 0 ]
check accounts-system-accounts-no-shell no_output awk -F: \
    '$3 >= 1 && $3 < 1000 && $1 != "sync" && $7 !~ /\/nologin$/ { print $1 }' /etc/passwd
check accounts-shadow-group-empty [ -z "$(awk -F: '$1 == "shadow" { print $4 }' /etc/group)" ]
check accounts-pass-max-days int_cmp -le 365 logindefs PASS_MAX_DAYS 99999
check accounts-strong-hash matches "$(logindefs ENCRYPT_METHOD DES)" '^(SHA512|YESCRYPT)$'
umask_value=$(logindefs UMASK 022)
check accounts-default-umask [ $((8#$umask_value & 8#027)) = $((8#027)) ]
only_if accounts-pwquality-minlen [ -f /etc/security/pwquality.conf ] -- int_cmp -ge 14 \
    awk -F= '/^[ \t]*minlen/ { v = $2; gsub(/[ \t]/, "", v) } END { print (v == "" ? 8 : v) }' \
    /etc/security/pwquality.conf

# --- files
check files-passwd-permissions perms /etc/passwd 644 root root
check files-group-permissions perms /etc/group 644 root root
check files-shadow-permissions perms /etc/shadow 640 root shadow
check files-gshadow-permissions perms /etc/gshadow 640 root shadow
only_if files-passwd-backup-permissions [ -f /etc/passwd- ] -- perms /etc/passwd- 644 root root
only_if files-shadow-backup-permissions [ -f /etc/shadow- ] -- perms /etc/shadow- 640 root shadow
check files-root-home-private owned_by_root_within /root 750
check files-tmp-sticky sticky /tmp
check files-var-tmp-sticky sticky /var/tmp
only_if files-sudoers-permissions pkg_and_file sudo /etc/sudoers -- \
    perms /etc/sudoers 440 root root

# --- ssh
only_if ssh-config-permissions ssh_present -- perms /etc/ssh/sshd_config 600 root root
only_if ssh-host-key-private pkg_and_file openssh-server /etc/ssh/ssh_host_ed25519_key -- \
    owned_by_root_within /etc/ssh/ssh_host_ed25519_key 600
only_if ssh-root-login-off ssh_present -- sshd_is PermitRootLogin prohibit-password no
only_if ssh-no-empty-passwords ssh_present -- sshd_is PermitEmptyPasswords no no
only_if ssh-ignore-rhosts ssh_present -- sshd_is IgnoreRhosts yes yes
only_if ssh-x11-forwarding-off ssh_present -- sshd_is X11Forwarding no no
only_if ssh-max-auth-tries ssh_present -- int_cmp -le 4 sshd_value MaxAuthTries 6
only_if ssh-login-grace-time ssh_present -- \
    sshd_matches LoginGraceTime 120 '^(([1-9]|[1-5][0-9]|60)[sS]?|1[mM])$'
only_if ssh-client-alive ssh_present -- \
    sshd_matches ClientAliveInterval 0 '^(([1-9]|[1-9][0-9]|[12][0-9][0-9]|300)[sS]?|[1-5][mM])$'
only_if ssh-log-level ssh_present -- sshd_matches LogLevel INFO '^(INFO|VERBOSE|info|verbose)$'
only_if ssh-no-user-environment ssh_present -- sshd_is PermitUserEnvironment no no
only_if ssh-strong-ciphers ssh_present -- sshd_lacks Ciphers chacha20-poly1305@openssh.com 'cbc|arcfour|3des|rijndael'
only_if ssh-strong-macs ssh_present -- sshd_lacks MACs \
    umac-64-etm@openssh.com,umac-128-etm@openssh.com,hmac-sha2-256-etm@openssh.com,hmac-sha2-512-etm@openssh.com,hmac-sha1-etm@openssh.com,umac-64@openssh.com,umac-128@openssh.com,hmac-sha2-256,hmac-sha2-512,hmac-sha1 \
    'md5|ripemd|-96|umac-64'

# --- mounts
check mounts-tmp-separate separate /tmp
for path in /tmp /dev/shm /var/tmp; do
    slug=${path#/}
    for option in nodev nosuid noexec; do
        only_if "mounts-${slug//\//-}-$option" separate "$path" -- mount_has "$option" "$path"
    done
done

# --- kernel
check kernel-randomize-va-space kernel kernel.randomize_va_space -eq 2
only_if kernel-ptrace-scope [ -f /proc/sys/kernel/yama/ptrace_scope ] -- kernel kernel.yama.ptrace_scope -ge 1
check kernel-dmesg-restrict kernel kernel.dmesg_restrict -eq 1
check kernel-kptr-restrict kernel kernel.kptr_restrict -ge 1
check kernel-protected-hardlinks kernel fs.protected_hardlinks -eq 1
check kernel-protected-symlinks kernel fs.protected_symlinks -eq 1
check kernel-protected-regular kernel fs.protected_regular -ge 1
check kernel-suid-dumpable kernel fs.suid_dumpable -eq 0
check kernel-ip-forward kernel net.ipv4.ip_forward -eq 0
check kernel-rp-filter kernel net.ipv4.conf.all.rp_filter -eq 1
check kernel-tcp-syncookies kernel net.ipv4.tcp_syncookies -eq 1
check kernel-accept-redirects kernel net.ipv4.conf.all.accept_redirects -eq 0
check kernel-send-redirects kernel net.ipv4.conf.all.send_redirects -eq 0
check kernel-accept-source-route kernel net.ipv4.conf.all.accept_source_route -eq 0
only_if kernel-ipv6-accept-redirects [ -f /proc/sys/net/ipv6/conf/all/accept_redirects ] -- \
    kernel net.ipv6.conf.all.accept_redirects -eq 0
check kernel-unprivileged-bpf-disabled kernel kernel.unprivileged_bpf_disabled -ge 1

# --- packages
check packages-no-telnet none_installed '*telnet*'
check packages-no-rsh none_installed 'rsh-*' '*rlogin*'
check packages-no-nis none_installed nis
check packages-no-talk none_installed '*talk' '*talkd'
check packages-no-inetd none_installed '*inetd'
check packages-apparmor installed apparmor
check packages-time-sync sh -c 'for p in systemd-timesyncd chrony ntpsec; do
    dpkg-query -W -f="\${db:Status-Status}\n" $p 2>/dev/null | grep -qvE "^(not-installed|config-files)$" && exit 0
done; exit 1'
check packages-unattended-upgrades installed unattended-upgrades
check packages-debian-release dpkg --compare-versions "$(. /etc/os-release && echo "${VERSION_ID:-0}")" ge 12
only_if packages-openssh-fixed installed openssh-server -- dpkg --compare-versions \
    "$(dpkg-query -W -f='${Version}' openssh-server)" ge 1:9.2p1-2+deb12u3
only_if packages-openssl-fixed installed libssl3 -- dpkg --compare-versions \
    "$(dpkg-query -W -f='${Version}' libssl3)" ge 3.0.15-1~deb12u1

# --- logging
journald() { # key default: the last value in journald.conf and its drop-ins
    cat /etc/systemd/journald.conf /usr/lib/systemd/journald.conf.d/*.conf \
        /etc/systemd/journald.conf.d/*.conf 2>/dev/null |
        awk -F= -v key="$1" -v def="$2" '/^\[/ { journal = $0 == "[Journal]" }
            journal && $1 == key { value = $2 } END { print (value == "" ? def : value) }'
}
journal_on_disk() {
    local storage
    storage=$(journald Storage auto)
    [ "$storage" = persistent ] || { [ "$storage" = auto ] && [ -d /var/log/journal ]; }
}
journald_present() { installed systemd && [ -f /etc/systemd/journald.conf ]; }
only_if logging-journald-persistent journald_present -- journal_on_disk
only_if logging-journald-compress journald_present -- \
    sh -c "echo '$(journald Compress yes)' | grep -Eqix '1|yes|y|true|t|on'"
check logging-var-log-permissions owned_by_root_within /var/log 775
only_if logging-rsyslog-file-mode pkg_and_file rsyslog /etc/rsyslog.conf -- \
    sh -c 'cat /etc/rsyslog.conf /etc/rsyslog.d/*.conf 2>/dev/null |
        grep -Eq "^\s*\\\$FileCreateMode\s+0?[0-7][0-6][0-4]0\s*$"'
only_if logging-logrotate installed rsyslog -- installed logrotate

# --- cron
only_if cron-crontab-permissions pkg_and_file cron /etc/crontab -- perms /etc/crontab 600 root root
for d in hourly daily weekly monthly d; do
    only_if "cron-$d-permissions" pkg_and_dir cron /etc/cron.$d -- dir_root_within "/etc/cron.$d" 700
done
only_if cron-allow-list installed cron -- [ -f /etc/cron.allow ]

echo "passed $passed, failed $failed, skipped $skipped; $((passed + failed + skipped)) rules"
