#!/usr/bin/env bash
# Scans a real Debian root with `corehost --root` and checks it against the
# same document run inside that root with chroot:
#  1. builds a minimal Debian 12 root with debootstrap (kept in build/debian-root
#     and reused: delete it to build afresh), with the libraries corehost needs;
#  2. evaluates the baseline with --root: no rule may err, and every rule tagged
#     runtime is skipped as "not applicable to an image";
#  3. copies the build into the root and evaluates the same baseline there with
#     chroot (and /proc mounted in a private mount namespace), as a program
#     installed in the image would;
#  4. every rule that is not tagged runtime has the same status and result (or
#     code) both ways;
#  5. examples/fleet/scan-image.yml, run on this machine, writes the same report.
#
#   scripts/check-image-scan.sh [BUILD] [BASELINE]   (default build/release, the baseline)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
baseline=${2:-examples/baseline/debian12.json}
root=${DEBIAN_ROOT:-build/debian-root}
fail() { echo "check-image-scan: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || fail "needs root (debootstrap, chroot)"
[ -x "$build/bin/corehost" ] || fail "no $build/bin/corehost"

if [ ! -f "$root/etc/debian_version" ]; then
    command -v debootstrap >/dev/null || fail "debootstrap is not installed"
    echo "check-image-scan: building a Debian 12 root in $root"
    rm -rf "$root.partial"
    debootstrap --variant=minbase --include=libre2-9,libssl3 bookworm "$root.partial" \
        http://deb.debian.org/debian >"$root.log" 2>&1 || { tail -20 "$root.log"; fail "debootstrap failed"; }
    mv "$root.partial" "$root"
fi
root=$(cd "$root" && pwd)

work=$(mktemp -d)
inside=$root/opt/corehost-check
trap 'rm -rf "$work" "$inside"' EXIT

rc=0
"$build/bin/corehost" --root "$root" eval --json --output "$work/root.json" "$baseline" \
    2>"$work/root.err" || rc=$?
[ "$rc" -le 1 ] || { cat "$work/root.err"; fail "corehost --root exited $rc"; }

rm -rf "$inside"
mkdir -p "$inside"
cp -a "$build/bin" "$build/lib" "$inside/"
cp "$baseline" "$inside/baseline.json"
rc=0
# Inside the root the probes need a mount table: /proc, in a mount namespace of
# its own so that nothing stays mounted.
unshare -m --propagation private sh -c 'mount -t proc proc "$1/proc" && exec chroot "$1" \
    /opt/corehost-check/bin/corehost eval --json /opt/corehost-check/baseline.json' sh "$root" \
    >"$work/chroot.json" 2>"$work/chroot.err" || rc=$?
[ "$rc" -le 1 ] || { cat "$work/chroot.err"; fail "corehost inside the root exited $rc"; }

# The fleet example's image scan on the controller gives the same report.
if command -v ansible-playbook >/dev/null; then
    (cd examples/fleet && ansible-playbook scan-image.yml -e "coreplugin_image_root=$root" \
        -e "coreplugin_corehost=$(cd "$OLDPWD" && pwd)/$build/bin/corehost" \
        -e "coreplugin_baseline=$(cd "$OLDPWD" && pwd)/$baseline" \
        -e "coreplugin_reports_dir=$work/fleet" -e coreplugin_image_name=debian) \
        >"$work/playbook.log" 2>&1 || { cat "$work/playbook.log"; fail "scan-image.yml failed"; }
    python3 - "$work/root.json" "$work/fleet/image-debian/report.json" <<'PY' ||
import json, sys
def outcomes(path):
    return {r["id"]: (r.get("status"), r.get("result"), r.get("code"))
            for r in map(json.loads, open(path)) if "id" in r}
sys.exit(outcomes(sys.argv[1]) != outcomes(sys.argv[2]))
PY
        fail "examples/fleet/scan-image.yml wrote another report than corehost --root"
fi

python3 - "$work/root.json" "$work/chroot.json" "$baseline" "$root" <<'PY'
import json, sys
def rules(path):
    return {r["id"]: r for r in map(json.loads, open(path)) if "id" in r}
scanned, inside = rules(sys.argv[1]), rules(sys.argv[2])
runtime = {r["id"] for r in json.load(open(sys.argv[3]))["rules"] if "runtime" in r.get("tags", [])}
problems = []
for rule, report in scanned.items():
    if rule in runtime:
        if report.get("skipped") != "not applicable to an image":
            problems.append(f"{rule}: tagged runtime but {report.get('status')}")
        continue
    if report.get("status") == "error":
        problems.append(f"{rule} errs under --root: {report.get('error')}")
    other = inside.get(rule, {})
    mine = (report.get("status"), report.get("result"), report.get("code"))
    theirs = (other.get("status"), other.get("result"), other.get("code"))
    if mine != theirs:
        problems.append(f"{rule}: --root gives {mine}, inside the root {theirs}")
summary = [json.loads(line) for line in open(sys.argv[1])][-1]["summary"]
if summary.get("root") != sys.argv[4]:
    problems.append(f"the report names the root {summary.get('root')!r}")
for line in problems:
    print("check-image-scan:", line)
compared = len(scanned) - len(runtime)
print(f"check-image-scan: {compared} rules agree with a run inside the root, "
      f"{len(runtime)} runtime rules skipped; {summary}")
sys.exit(1 if problems else 0)
PY
