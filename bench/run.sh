#!/usr/bin/env bash
# Builds the benchmarks with the "bench" preset (release, gcc) and prints every
# comparison with a peer as a ratio of medians over repetitions.
#   bash bench/run.sh [extra Google Benchmark options, e.g. --benchmark_filter=md5]
# Environment: BENCH_REPETITIONS (default 10), BENCH_CPU (pin to this CPU with taskset).
set -euo pipefail
cd "$(dirname "$0")/.."

repetitions=${BENCH_REPETITIONS:-10}
cmake --preset bench >/dev/null
cmake --build --preset bench -j2

results=build/bench/bench-results.json
runner=()
if [ -n "${BENCH_CPU:-}" ] && command -v taskset >/dev/null; then
  runner=(taskset -c "$BENCH_CPU")
fi
echo "Running the benchmarks ($repetitions repetitions, interleaved); this takes a few minutes."
"${runner[@]}" build/bench/bin/coreplugin_bench \
  --benchmark_repetitions="$repetitions" \
  --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=false \
  --benchmark_out="$results" --benchmark_out_format=json \
  --benchmark_format=console "$@" >build/bench/bench-console.txt
python3 bench/ratios.py "$results"
