#!/usr/bin/env bash
# What a whole baseline costs on this machine, process start to exit:
#  - `corehost eval examples/baseline/debian12.json` (both plug-ins, every rule
#    in one process), beside a plain `true` (the cost of starting a process at
#    all) and beside bench/baseline-shell.sh, the same checks as a shell script
#    of stat/awk/grep/findmnt/sysctl/dpkg-query calls;
#  - what loading the second plug-in costs: one CorePlugin-only tree with
#    `--plugin libCorePlugin.so` against the default (both plug-ins).
# Reports the CPU time (user + system, of the children, from getrusage) and the
# wall time per run, and per check for the baseline. Standard output of the
# runs is discarded; their exit status must be 0 or 1 (rules may fail here).
#
#   bash bench/baseline.sh [RUNS]      (default 20; COREHOST=... to choose corehost,
#                                       default build/release/bin/corehost)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
corehost=${COREHOST:-build/release/bin/corehost}
[ -x "$corehost" ] || { echo "bench/baseline.sh: no $corehost (cmake --build --preset release)" >&2; exit 2; }
libdir=$(cd "$(dirname "$corehost")/../lib" && pwd)

python3 - "$runs" "$corehost" "$libdir" <<'EOF'
import json, resource, subprocess, sys, time

runs, corehost, libdir = int(sys.argv[1]), sys.argv[2], sys.argv[3]
baseline = "examples/baseline/debian12.json"
checks = len(json.load(open(baseline, encoding="utf-8"))["rules"])

def measure(command):
    """CPU seconds (user + sys of the children) and wall seconds per run."""
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)  # warm caches
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    for _ in range(runs):
        status = subprocess.run(command, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL).returncode
        if status not in (0, 1):
            sys.exit(f"bench/baseline.sh: {' '.join(command)} exited with {status}")
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return cpu / runs, wall / runs

def ms(seconds):
    return f"{seconds * 1000:8.2f} ms"

print(f"{runs} runs each; {checks} checks in {baseline}")
print(f"{'':38} {'CPU/run':>11} {'wall/run':>11} {'CPU/check':>11} {'wall/check':>11}")
rows = [("true", ["true"], False),
        ("corehost eval (both plug-ins)", [corehost, "eval", baseline], True),
        ("bench/baseline-shell.sh", ["bash", "bench/baseline-shell.sh"], True)]
for label, command, per_check in rows:
    cpu, wall = measure(command)
    extra = f" {ms(cpu / checks)} {ms(wall / checks)}" if per_check else ""
    print(f"{label:38} {ms(cpu)} {ms(wall)}{extra}")

# The second plug-in: the same CorePlugin-only tree, one plug-in or both.
tree = "examples/version-check.json"
core_only = measure([corehost, "--plugin", libdir + "/libCorePlugin.so", "eval", tree])
both = measure([corehost, "eval", tree])
print(f"{'CorePlugin only: ' + tree:38} {ms(core_only[0])} {ms(core_only[1])}")
print(f"{'both plug-ins:   ' + tree:38} {ms(both[0])} {ms(both[1])}")
print(f"{'loading SystemPlugin costs':38} {ms(both[0] - core_only[0])} "
      f"{ms(both[1] - core_only[1])}  (target < 2 ms)")
EOF
