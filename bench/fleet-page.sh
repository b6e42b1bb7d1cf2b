#!/usr/bin/env bash
# The fleet page of 1,000 hosts x 150 rules: how long `corehost report` takes
# to write it, and how long headless Chromium takes to load it, run its
# filter script and give back the DOM (median wall time of ROUNDS runs each).
# Fails when the page renders in 2 s or more.
#
#   bash bench/fleet-page.sh [COREHOST] [ROUNDS]
#        (COREHOST default build/release/bin/corehost, ROUNDS default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
corehost=${1:-build/release/bin/corehost}
rounds=${2:-5}

python3 - "$corehost" "$rounds" <<'PY'
import json, os, random, statistics, subprocess, sys, tempfile, time

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


def median(command):
    times = []
    for _ in range(rounds):
        start = time.monotonic()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        times.append(time.monotonic() - start)
    return statistics.median(times)


write = median([corehost, "report", "--output", page] + files)
render = median(["chromium", "--headless", "--disable-gpu", "--no-sandbox", "--dump-dom",
                 "file://" + page])
print(f"fleet page, 1,000 hosts x 150 rules: {os.path.getsize(page)} bytes, "
      f"written in {write:.2f} s, rendered in {render:.2f} s (target under 2 s)")
subprocess.run(["rm", "-r", work], check=True)
sys.exit(0 if render < 2.0 else 1)
PY
