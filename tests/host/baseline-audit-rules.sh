#!/usr/bin/env bash
# The audit checks of the Debian 12 baseline with examples/baseline/hardening.rules as the only
# file of /etc/audit/rules.d (bound over it in a private mount namespace): every check passes;
# each copy weakened in one way fails its own check and no other; the same rules written
# otherwise pass; a copy auditctl would refuse makes every check err. Exits 77 (skipped) without root, a mount namespace or rules.d.
#   baseline-audit-rules.sh COREHOST SOURCE_DIR
set -euo pipefail
corehost=$1
source_dir=$2
baseline=$source_dir/examples/baseline/debian12.json
if [ -z "${IN_PRIVATE_MOUNTS:-}" ]; then
    [ "$(id -u)" = 0 ] && [ -d /etc/audit/rules.d ] && unshare -m true 2>/dev/null || exit 77
    exec unshare -m env IN_PRIVATE_MOUNTS=1 bash "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/rules.d"
mount --bind "$work/rules.d" /etc/audit/rules.d

# Each case: the change (a sed program over the file; "" none) and the checks that fail then
# ("error": every check errs). The case without failures after the first writes the same rules
# otherwise: calls split over rules and shared with others, a watch with more permissions, a
# never rule that exempts one account.
b64='-a always,exit -F arch=b64 -S'
cases=(
    "|"
    "/arch=b32 -S adjtimex/d|audit-time-change"
    "/-w \/etc\/shadow/s/-p wa/-p w/|audit-identity"
    "s/-k mounts/-F uid!=0 -k mounts/|audit-mounts"
    "s/exit=-EPERM/exit=-ENOENT/|audit-unsuccessful-access"
    "s/^$b64 init_module/-a never,exit -F arch=b64 -S init_module/|audit-kernel-modules audit-not-silenced"
    "/^-e 2/d|audit-immutable"
    "s/^$b64 adjtimex,settimeofday,clock_settime/$b64 adjtimex,sethostname -k t\n$b64 settimeofday -k t\n$b64 clock_settime -F a0=0x0/;s/^-w \/etc\/passwd -p wa/-w \/etc\/passwd -p rwxa/;\$a -a never,exit -F arch=b64 -S adjtimex -F auid=unset -F uid=0|"
    "s/^$b64 adjtimex,settimeofday,clock_settime/$b64 adjtimex -k t\n$b64 settimeofday,clock_settime -F a0=0x0/|audit-time-change"
    "\$a -a never,task|audit-not-silenced"
    "s/^-w \/etc\/hosts -p wa/-w \/etc\/hosts -p wq/|error"
)
wrong=0
for case in "${cases[@]}"; do
    sed -e "${case%%|*}" "$source_dir/examples/baseline/hardening.rules" >"$work/rules.d/50-hardening.rules"
    "$corehost" eval --format json --tag audit "$baseline" >"$work/report.json" 2>/dev/null || true
    python3 - "$baseline" "$work/report.json" "${case#*|}" <<'EOF' || wrong=$((wrong + 1))
import json, sys
baseline, report, failing = sys.argv[1], sys.argv[2], sys.argv[3]
reads = {r["id"] for r in json.load(open(baseline))["rules"] if '"AuditRules"' in json.dumps(r["tree"])}
status = {line["id"]: line["status"] for line in map(json.loads, open(report)) if "id" in line}
want = {i: "error" if failing == "error" else "fail" if i in failing.split() else "pass"
        for i in reads}
# sudo may be missing: its check is then skipped.
got = {i: want[i] if (i, status.get(i)) == ("audit-sudoers", "skipped") else status.get(i)
       for i in reads}
if got != want:
    sys.exit("case %r: %s" % (failing, {i: got[i] for i in reads if got[i] != want[i]}))
EOF
done
echo "baseline audit checks: ${#cases[@]} cases, $wrong disagreements"
[ "$wrong" = 0 ]
