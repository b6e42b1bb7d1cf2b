#!/usr/bin/env bash
# Start-up of corehost against an earlier build of it, in interleaved runs on
# the same machine: `eval` of a one-rule document with both plug-ins loaded
# (process start, loading the plug-ins and what describes them, one
# evaluation) and `check` of the Debian 12 baseline (85 rules). Reports the
# median CPU time (user + system, from getrusage) over rounds that alternate
# the two builds, so that a change in the machine's load falls on both, and
# the instructions of one run of each (callgrind: the same count whatever the
# load).
#
#   bash bench/startup.sh BEFORE_COREHOST [AFTER_COREHOST] [ROUNDS]
#        (AFTER default build/release/bin/corehost, ROUNDS default 15)
set -euo pipefail
cd "$(dirname "$0")/.."
before=${1:?usage: bench/startup.sh BEFORE_COREHOST [AFTER_COREHOST] [ROUNDS]}
after=${2:-build/release/bin/corehost}
rounds=${3:-15}

python3 - "$before" "$after" "$rounds" <<'PY'
import os, re, resource, statistics, subprocess, sys, tempfile

before, after, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
commands = {"eval, one rule, both plug-ins": ["eval", "examples/version-check.json"],
            "check, the baseline": ["check", "examples/baseline/debian12.json"]}
runs = 20  # per round and build

def cpu(corehost, args):
    first = resource.getrusage(resource.RUSAGE_CHILDREN)
    for _ in range(runs):
        subprocess.run([corehost] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=False)
    last = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (last.ru_utime + last.ru_stime - first.ru_utime - first.ru_stime) / runs * 1000

def instructions(corehost, args):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "callgrind.out")
        done = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out,
                               corehost] + args, capture_output=True, text=True)
        found = re.search(r"Collected : (\d+)", done.stderr)
        return int(found.group(1)) if found else None

print(f"| {'':32} | before (ms CPU) | after (ms CPU) | before (instructions) | after (instructions) |")
print("|---|---|---|---|---|")
for label, args in commands.items():
    times = {before: [], after: []}
    for _ in range(rounds):
        for corehost in (before, after):
            times[corehost].append(cpu(corehost, args))
    counts = [instructions(c, args) for c in (before, after)]
    text = [f"{count / 1e6:.2f} M" if count else "n/a" for count in counts]
    print(f"| {label:32} | {statistics.median(times[before]):.2f} | "
          f"{statistics.median(times[after]):.2f} | {text[0]} | {text[1]} |")
PY
