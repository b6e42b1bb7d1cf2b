#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan, UBSan) and runs each
# for a bounded time on a scratch copy of its corpus, so the tree stays clean.
# Any crash, leak, sanitizer report, failed check or hang fails the script and
# prints the path of the reproducer.
#
# Usage: scripts/run-fuzzers.sh [SECONDS] [TARGET...]
#   SECONDS  time per target (default 30)
#   TARGET   wildcard numbers vectorstring ini mountinfo text configs records debianversion
#            dpkgstatus tree json (default: all)
# Environment: FUZZ_WORK_DIR keeps corpora, logs and reproducers there (default:
# a new directory under /tmp); FUZZ_JOBS sets the build's parallel jobs and how many
# targets run at once (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
[ $# -gt 0 ] && shift
all_targets=(wildcard numbers vectorstring ini mountinfo text configs records debianversion dpkgstatus tree json)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")

binaries=()
for target in "${targets[@]}"; do
  if [[ ! " ${all_targets[*]} " == *" $target "* ]]; then
    echo "unknown fuzz target: $target (known: ${all_targets[*]})" >&2
    exit 2
  fi
  binaries+=("fuzz_$target")
done

echo "== building the fuzz targets (preset fuzz)"
build_start=$(date +%s)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${FUZZ_JOBS:-2}" --target "${binaries[@]}"
echo "== built in $(( $(date +%s) - build_start ))s"

if [ -n "${FUZZ_WORK_DIR:-}" ]; then
  work=$FUZZ_WORK_DIR
else
  # A folder of our own is removed when every target passed; after a finding
  # it stays, for its reproducers.
  work=$(mktemp -d /tmp/coreplugin-fuzz.XXXXXX)
  own_work=1
fi
mkdir -p "$work"
echo "== running each target for ${seconds}s; work directory $work"

# One target: its run, then a one-line result in $work/$target.result (and, on a
# finding, the log's tail and the reproducers in $work/$target.finding).
run_target() {
  local target=$1
  local corpus="$work/corpus/$target" artifacts="$work/artifacts/$target" log="$work/$target.log"
  mkdir -p "$corpus" "$artifacts"
  # The committed seeds and every regression input start the run.
  for dir in "fuzz/corpus/$target" "fuzz/regressions/$target"; do
    [ -d "$dir" ] && cp -r "$dir/." "$corpus/"
  done
  # A hang is a finding, and so is a read without a bound: no input needs more
  # than 2 GB resident or one allocation over 256 MB (the readers cap files at
  # 16 MiB for INI files and 64 MiB for mount tables).
  local args=(-max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -malloc_limit_mb=256
              -print_final_stats=1 -artifact_prefix="$artifacts/")
  [ -f "fuzz/dict/$target.dict" ] && args+=(-dict="fuzz/dict/$target.dict")

  local rc=0
  "build/fuzz/bin/fuzz_$target" "${args[@]}" "$corpus" >"$log" 2>&1 || rc=$?
  local runs rate
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$rc" -ne 0 ]; then
    printf '%-13s FAILED (exit %d)\n' "$target" "$rc" >"$work/$target.result"
    {
      echo "-- $target FAILED (exit $rc); last lines of $log:"
      tail -n 25 "$log"
      for reproducer in "$artifacts"/*; do
        [ -e "$reproducer" ] && echo "reproducer: $reproducer"
      done
    } >"$work/$target.finding"
  else
    printf '%-13s ok  %10s runs  %7s exec/s  corpus %s\n' "$target" "${runs:-?}" "${rate:-?}" \
      "$(find "$corpus" -type f | wc -l)" >"$work/$target.result"
  fi
}

# The targets run side by side, at most FUZZ_JOBS at once.
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "${FUZZ_JOBS:-2}" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  run_target "$target" &
  running=$((running + 1))
done
wait

failed=()
summary=()
for target in "${targets[@]}"; do
  summary+=("$(cat "$work/$target.result" 2>/dev/null || printf '%-13s FAILED (no result)' "$target")")
  if [ -f "$work/$target.finding" ] || [ ! -f "$work/$target.result" ]; then
    failed+=("$target")
    [ -f "$work/$target.finding" ] && cat "$work/$target.finding"
  fi
done

echo "== summary (${seconds}s per target)"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found problems in: ${failed[*]} (reproducers above; see docs/robustness.md)"
  exit 1
fi
[ -z "${own_work:-}" ] || rm -rf "$work"
