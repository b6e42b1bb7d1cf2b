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
        name = "/".join(p for p in entry["run_name"].split("/") if ":" not in p)
        scale = TO_NS[entry.get("time_unit", "ns")]
        if entry.get("run_type") == "aggregate":
            if entry.get("aggregate_name") == "median":
                medians[name] = entry["cpu_time"] * scale
            continue
        runs[name].append((entry.get("repetition_index", 0), entry["cpu_time"] * scale))
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


def main(path):
    times, medians, counters = load(path)
    missed = 0
    print(f"{'case':34} {'ours median [min..max]':30} {'peer median [min..max]':30} "
          f"{'ratio':>6} {'range':>13} {'target':>7}")
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
            verdict = f"<={target:.2f} {'ok' if ok else 'MISSED'}"
        ours_text = f"{fmt(medians[name])} [{fmt(min(times[name]))}..{fmt(max(times[name]))}]"
        peer_text = f"{fmt(medians[peer])} [{fmt(min(times[peer]))}..{fmt(max(times[peer]))}]"
        print(f"{case + ' vs ' + peer.rsplit('/', 1)[1]:34} {ours_text:30} {peer_text:30} "
              f"{ratio:6.3f} {min(paired):6.3f}..{max(paired):<6.3f} {verdict}")

    trees = [n for n in sorted(times) if "nodes" in counters[n]]
    if trees:
        print()
        print(f"{'tree evaluation':44} {'per evaluation [min..max]':32} {'per node [min..max]':28} target")
    for name in trees:
        nodes = counters[name]["nodes"]
        target = counters[name].get("target_ns_per_node", 0.0)
        per_node = medians[name] / nodes
        verdict = ""
        if target > 0:
            ok = per_node <= target
            missed += not ok
            verdict = f"<={target:.0f} ns {'ok' if ok else 'MISSED'}"
        evaluation = f"{fmt(medians[name])} [{fmt(min(times[name]))}..{fmt(max(times[name]))}]"
        node = (f"{fmt(per_node)} [{fmt(min(times[name]) / nodes)}.."
                f"{fmt(max(times[name]) / nodes)}]")
        print(f"{name:44} {evaluation:32} {node:28} {verdict}")
    if missed:
        print(f"\n{missed} target(s) missed")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "build/bench/bench-results.json"))
