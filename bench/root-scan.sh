#!/usr/bin/env bash
# What scanning a root costs against scanning this system: the same document
# (its rules not tagged runtime, which --root skips) evaluated live and with
# --root / (the same files, read after a chroot), in
# rounds that alternate the two, so that a change in the machine's load falls on
# both. Reports the median CPU time (user + system) of each and their ratio.
# Needs root (chroot).
#
#   bash bench/root-scan.sh [COREHOST] [DOCUMENT] [ROUNDS]
#        (default build/release/bin/corehost, the Debian 12 baseline, 15 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
corehost=${1:-build/release/bin/corehost}
document=${2:-examples/baseline/debian12.json}
rounds=${3:-15}
[ "$(id -u)" = 0 ] || { echo "bench/root-scan.sh: needs root (chroot)" >&2; exit 2; }

python3 - "$corehost" "$document" "$rounds" <<'PY'
import json, os, resource, statistics, subprocess, sys, tempfile

corehost, source, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
rules = json.load(open(source))
rules["rules"] = [r for r in rules["rules"] if "runtime" not in r.get("tags", [])]
handle, document = tempfile.mkstemp(suffix=".json")
with os.fdopen(handle, "w") as f:
    json.dump(rules, f)
runs = 5  # per round and form
forms = {"live": [corehost, "eval", "--json", document],
         "--root /": [corehost, "--root", "/", "eval", "--json", document]}

def cpu(command):
    first = resource.getrusage(resource.RUSAGE_CHILDREN)
    for _ in range(runs):
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    last = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (last.ru_utime + last.ru_stime - first.ru_utime - first.ru_stime) / runs * 1000

times = {form: [] for form in forms}
for _ in range(rounds):
    for form, command in forms.items():
        times[form].append(cpu(command))
live, rooted = (statistics.median(times[form]) for form in forms)
os.unlink(document)
print(f"| {source}, {len(rules['rules'])} rules | live {live:.2f} ms CPU | --root / {rooted:.2f} ms CPU | ratio {rooted / live:.2f} |")
PY
