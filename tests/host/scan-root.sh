#!/usr/bin/env bash
# corehost --root DIR against a small hostile image: paths, absolute links and
# ".." resolve inside it; account names come from its own files; nothing of it
# is loaded (a trapped nsswitch.conf, NSS module, ld.so.preload and
# openssl.cnf would each leave a marker file); what only a running system has
# answers a code; rules tagged runtime are skipped; a FIFO, a link loop, a
# link into /proc, a 2 GB sparse dpkg status and a sysctl.d of 100,001 files
# give codes in bounded time; the reports name the root. Needs root (chroot):
# exits 77 otherwise.
#   scan-root.sh COREHOST
set -euo pipefail
corehost=$(readlink -f "$1")
fail() { echo "scan-root: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || { echo "scan-root: needs root"; exit 77; }
command -v cc >/dev/null || { echo "scan-root: needs a C compiler"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
image=$work/image
multiarch=$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)
mkdir -p "$image"/{etc,lib,srv,usr/lib/ssl,"lib/$multiarch","usr/lib/$multiarch"}

# Accounts only the image has: uid 4242 and gid 4343 have no name on this system.
getent passwd 4242 >/dev/null && { echo "scan-root: uid 4242 exists here"; exit 77; }
getent group 4343 >/dev/null && { echo "scan-root: gid 4343 exists here"; exit 77; }
printf 'root:x:0:0:root:/root:/bin/bash\nimageuser:x:4242:4343::/home/imageuser:/bin/sh\n' \
    >"$image/etc/passwd"
printf 'root:x:0:\nimagegroup:x:4343:\n' >"$image/etc/group"
echo owned >"$image/srv/owned"
chown 4242:4343 "$image/srv/owned"

# An absolute link that climbs above the root reads the image's own file.
echo 'ID=the-image' >"$image/etc/os-release"
ln -s /../../../../../etc/os-release "$image/etc/climbing-link"
ln -s loop-b "$image/etc/loop-a"
ln -s loop-a "$image/etc/loop-b"
mkfifo "$image/etc/login.defs"
ln -s /proc/self/environ "$image/etc/proc-link"
mkdir -p "$image/var/lib/dpkg/updates"
truncate -s 2G "$image/var/lib/dpkg/status"
# More drop-ins than any check reads (systemd-sysctl would read them all).
python3 -c 'import os, sys
os.makedirs(sys.argv[1])
for i in range(100001): open(os.path.join(sys.argv[1], "%06d.conf" % i), "w").close()' \
    "$image/etc/sysctl.d"

# The traps: each writes a marker into the image when it is loaded.
cat >"$work/trap.c" <<'C'
#include <fcntl.h>
#include <unistd.h>
__attribute__((constructor)) static void trap(void) {
    int fd = open(MARKER, O_WRONLY | O_CREAT, 0644);
    if (fd >= 0) close(fd);
}
C
build_trap() { cc -shared -fPIC -DMARKER="\"$2\"" -o "$1" "$work/trap.c"; }
for dir in "lib/$multiarch" "usr/lib/$multiarch" lib; do
    build_trap "$image/$dir/libnss_trap.so.2" /marker-nss
done
printf 'passwd: trap files\ngroup: trap files\nshadow: trap files\n' >"$image/etc/nsswitch.conf"
build_trap "$image/lib/preload.so" /marker-preload
echo /lib/preload.so >"$image/etc/ld.so.preload"
build_trap "$image/lib/provider.so" /marker-openssl
printf 'openssl_conf = init\n[init]\nproviders = p\n[p]\ntrap = t\n[t]\nmodule = /lib/provider.so\nactivate = 1\n' \
    >"$image/usr/lib/ssl/openssl.cnf"
# A digest module where this system's plug-in directory would be inside the image.
plugins=$(dirname "$(readlink -f "$corehost")")/../lib
mkdir -p "$image/$plugins"
build_trap "$image/$plugins/libSystemPluginDigest.so" /marker-digest

cat >"$work/rules.json" <<'JSON'
{"rules": [
  {"id": "owner", "expect": "imageuser",
   "tree": {"name": "FileOwner", "properties": {"absolutePath": "/srv/owned"}}},
  {"id": "group", "expect": "imagegroup",
   "tree": {"name": "FileGroup", "properties": {"absolutePath": "/srv/owned"}}},
  {"id": "link", "expect": ["ID=the-image"],
   "tree": {"name": "FileLines", "properties": {"absolutePath": "/etc/climbing-link"}}},
  {"id": "digest", "tree": {"name": "FileDigest", "properties": {"absolutePath": "/etc/os-release"}}},
  {"id": "sysctl", "tree": {"name": "Sysctl", "properties": {"name": "kernel.ostype"}}},
  {"id": "mount-type", "tree": {"name": "MountType", "properties": {"absolutePath": "/"}}},
  {"id": "mount-path", "tree": {"name": "MountPath", "properties": {"absolutePath": "/"}}},
  {"id": "active", "tree": {"name": "UnitActiveState", "properties": {"unit": "cron"}}},
  {"id": "loaded-audit", "tree": {"name": "AuditRules", "properties": {"source": "loaded"}}},
  {"id": "fifo", "tree": {"name": "KeyValue", "properties": {"syntax": "logindefs", "file": "/etc/login.defs", "key": "UID_MIN"}}},
  {"id": "loop", "tree": {"name": "FileText", "properties": {"absolutePath": "/etc/loop-a"}}},
  {"id": "proc-link", "tree": {"name": "FileText", "properties": {"absolutePath": "/etc/proc-link"}}},
  {"id": "huge-sysctl-d", "tree": {"name": "KeyValue", "properties": {"syntax": "sysctl", "key": "kernel.sysrq"}}},
  {"id": "sparse-status", "tree": {"name": "PackageInstalled", "properties": {"package": "bash"}}},
  {"id": "runtime", "tags": ["runtime"], "expect": "true",
   "tree": {"name": "ValueOf", "properties": {"value": "false"}}}
]}
JSON
# LeakSanitizer needs /proc, which the image does not have.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
cd "$work"
rc=0
timeout 60 "$corehost" --root "$image" eval --json --output report.json rules.json 2>stderr.txt ||
    rc=$?
[ "$rc" = 1 ] || fail "exit $rc, not 1: $(cat stderr.txt)"
[ -s report.json ] || fail "the report was not written on this system"
[ ! -e "$image/$work/report.json" ] || fail "the report went into the image"
python3 - "$image" <<'PY' || fail "unexpected report: $(cat report.json)"
import json, sys
lines = [json.loads(line) for line in open("report.json")]
rules = {line["id"]: line for line in lines if "id" in line}
summary = lines[-1]["summary"]
def expect(rule, key, value):
    if rules[rule].get(key) != value:
        sys.exit(f"{rule}: {key} is {rules[rule].get(key)!r}, not {value!r}")
for rule in ("owner", "group", "link"):
    expect(rule, "status", "pass")
if len(rules["digest"].get("result", "")) != 64:
    sys.exit(f"digest: {rules['digest']}")
for rule in ("sysctl", "mount-type", "active", "loaded-audit"):
    expect(rule, "code", -12026)
expect("mount-path", "code", -400)
expect("sparse-status", "code", -12012)
expect("huge-sysctl-d", "code", -12012)
for rule in ("fifo", "loop", "proc-link"):
    if rules[rule].get("code", 0) == 0:
        sys.exit(f"{rule} gave a value: {rules[rule]}")
expect("runtime", "status", "skip")
expect("runtime", "skipped", "not applicable to an image")
if summary.get("root") != sys.argv[1] or summary.get("skipped") != 1:
    sys.exit(f"summary: {summary}")
PY
markers=$(find "$image" -maxdepth 1 -name 'marker-*')
[ -z "$markers" ] || fail "the image's code ran: $markers"
grep -q "(root $image)" stderr.txt || fail "the summary line does not name the root: $(cat stderr.txt)"

# Without the right to change the root: exit 2 before anything is evaluated.
if command -v setpriv >/dev/null; then
    chmod 755 "$work"
    rc=0
    out=$(setpriv --reuid=65534 --regid=65534 --clear-groups "$corehost" --root "$image" \
        eval rules.json 2>&1) || rc=$?
    [ "$rc" = 2 ] || fail "as nobody: exit $rc, not 2: $out"
    grep -q "Operation not permitted" <<<"$out" || fail "as nobody: $out"
fi
# Not a directory, and a command that reads no file.
rc=0; "$corehost" --root "$work/rules.json" eval rules.json 2>/dev/null || rc=$?
[ "$rc" = 2 ] || fail "a file as the root: exit $rc"
rc=0; "$corehost" --root "$image" list >/dev/null 2>&1 || rc=$?
[ "$rc" = 2 ] || fail "--root with list: exit $rc"
echo "scan-root: the image was read as the root, and nothing of it ran"
