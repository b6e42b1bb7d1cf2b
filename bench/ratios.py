#!/usr/bin/env python3
"""Reads Google Benchmark JSON output and prints, for every pair "<case>/ours"
and "<case>/<peer>", the ratio of the median CPU times ours/peer with the range
of the per-repetition ratios, and for every tree benchmark the time per node.
Exits with 1 when a ratio or a time per node misses its target."""

import json
import statistics
import sys
from collections import defaultdict

TO_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def load(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    runs = defaultdict(list)  # name -> cpu times in ns, in repetition order
    counters = {}
    medians = {}
    for entry in data["benchmarks"]:
        # Drop the settings Google Benchmark appends ("/iterations:10").
        name = "/".join(p for p in entry["run_name"].split("/") if ":" not in p and p != "manual_time")
        scale = TO_NS[entry.get("time_unit", "ns")]
        # A benchmark that times a child process (counter "manual") sets its
        # iteration times itself, from the child's CPU time: they are in real_time.
        clock = "real_time" if entry.get("manual") else "cpu_time"
        if entry.get("run_type") == "aggregate":
            if entry.get("aggregate_name") == "median":
                medians[name] = entry[clock] * scale
            continue
        runs[name].append((entry.get("repetition_index", 0), entry[clock] * scale))
        counters[name] = entry
    times = {name: [t for _, t in sorted(values)] for name, values in runs.items()}
    for name, values in times.items():
        medians.setdefault(name, statistics.median(values))
    return times, medians, counters


def fmt(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def spread(values, scale=1.0):
    return f"{fmt(statistics.median(values) / scale)} [{fmt(min(values) / scale)}..{fmt(max(values) / scale)}]"


def table(header, rows):
    widths = [max(len(str(cell)) for cell in column) for column in zip(header, *rows)]
    for row in [header] + rows:
        print("  ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip())


def main(path):
    times, medians, counters = load(path)
    missed = 0
    rows = []
    for name in sorted(times):
        if not name.endswith("/ours"):
            continue
        case = name[: -len("/ours")]
        peers = [n for n in times if n.startswith(case + "/") and n != name]
        if len(peers) != 1:
            continue
        peer = peers[0]
        ratio = medians[name] / medians[peer]
        paired = [a / b for a, b in zip(times[name], times[peer])]
        target = counters[name].get("target", 0.0)
        verdict = ""
        if target > 0:
            ok = ratio <= target
            missed += not ok
            verdict = f"<= {target:.3g} {'ok' if ok else 'MISSED'}"
        rows.append([f"{case} vs {peer.rsplit('/', 1)[1]}", spread(times[name]),
                     spread(times[peer]), f"{ratio:.3g}", f"{min(paired):.3g}..{max(paired):.3g}",
                     verdict])
    if rows:
        table(["case", "ours: median [min..max]", "peer: median [min..max]", "ours/peer",
               "range", "target"], rows)

    rows = []
    for name in sorted(n for n in times if "nodes" in counters[n]):
        nodes = counters[name]["nodes"]
        target = counters[name].get("target_ns_per_node", 0.0)
        per_node = medians[name] / nodes
        verdict = ""
        if target > 0:
            ok = per_node <= target
            missed += not ok
            verdict = f"<= {target:.0f} ns {'ok' if ok else 'MISSED'}"
        rows.append([name, f"{nodes:.0f}", spread(times[name]), spread(times[name], nodes), verdict])
    if rows:
        print()
        table(["tree", "nodes", "per evaluation: median [min..max]",
               "per node: median [min..max]", "target"], rows)
    rows = []
    for name in sorted(n for n in times if "limit_ms" in counters[n]):
        limit = counters[name]["limit_ms"] * 1e6
        ok = medians[name] <= limit
        missed += not ok
        rows.append([name, spread(times[name]), f"< {fmt(limit)} {'ok' if ok else 'MISSED'}"])
    if rows:
        print()
        table(["case", "median [min..max]", "limit"], rows)
    if missed:
        print(f"\n{missed} target(s) missed")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "build/bench/bench-results.json"))
