#!/usr/bin/env bash
# The fleet page of 1,000 hosts x 150 rules: how long `corehost report` takes
# to write it, and how long headless Chromium takes to load it, run its
# filter script and give back the DOM. Times are CPU time (user + system of
# every process, from getrusage), medians of ROUNDS runs, so that a loaded
# machine does not count; the render time is that of the page less that of an
# empty page (Chromium's own start). Fails when the page takes 2 s or more to
# render, or is 5 MB or more.
#
#   bash bench/fleet-page.sh [COREHOST] [ROUNDS]
#        (COREHOST default build/release/bin/corehost, ROUNDS default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
corehost=${1:-build/release/bin/corehost}
rounds=${2:-5}

python3 - "$corehost" "$rounds" <<'PY'
import json, os, random, resource, statistics, subprocess, sys, tempfile

corehost, rounds = sys.argv[1], int(sys.argv[2])
work = tempfile.mkdtemp()
rng = random.Random(1)
severities = ["info", "low", "medium", "high", "critical"]
files = []
for host in range(1000):
    path = os.path.join(work, f"host{host:04}.example.org.json")
    files.append(path)
    with open(path, "w") as out:
        for rule in range(150):
            status = rng.choices(["pass", "fail", "error", "skip"], [85, 10, 2, 3])[0]
            line = {"id": f"baseline-rule-{rule:03}", "type": "scalar",
                    "code": -11038 if status == "error" else 0, "status": status,
                    "expected": "true", "severity": severities[rule % 5],
                    "tags": [f"section{rule % 12}", "server"], "title": f"Rule {rule}",
                    "result": None if status in ("error", "skip") else str(status == "pass").lower()}
            out.write(json.dumps(line) + "\n")
        out.write(json.dumps({"summary": {}, "run": {"host": f"host{host:04}.example.org"}}) + "\n")
page = os.path.join(work, "fleet.html")


def cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def median(command):
    times = []
    for _ in range(rounds):
        start = cpu()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        times.append(cpu() - start)
    return statistics.median(times)


def chromium(path):
    return ["chromium", "--headless", "--disable-gpu", "--no-sandbox", "--dump-dom",
            "file://" + path]


empty = os.path.join(work, "empty.html")
with open(empty, "w") as out:
    out.write("<!DOCTYPE html><title>x</title><p>x\n")
write = median([corehost, "report", "--output", page] + files)
render = median(chromium(page)) - median(chromium(empty))
print(f"fleet page, 1,000 hosts x 150 rules: {os.path.getsize(page)} bytes, "
      f"written in {write:.2f} s CPU, rendered in {render:.2f} s CPU beyond Chromium's start "
      "(targets: under 5 MB, under 2 s)")
size = os.path.getsize(page)
subprocess.run(["rm", "-r", work], check=True)
sys.exit(0 if render < 2.0 and size < 5_000_000 else 1)
PY
