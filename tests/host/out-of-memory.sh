#!/bin/bash
# corehost under address-space limits (RLIMIT_AS) at several levels, on a
# document of 100,000 rules made here: eval, check and list either finish
# (exit 0 or 1) or exit 2 with lines "corehost: ..." on standard error, the last saying why,
# never with a signal or a core dump; and somewhere between the limit at
# which the tool cannot start and the one at which it finishes, eval and
# check say "corehost: out of memory". Exits 77 (skipped) for a sanitized
# build: its shadow memory needs far more address space than any limit leaves.
#   out-of-memory.sh COREHOST SANITIZED(0|1)
set -u
corehost=$1
if [ "$2" = 1 ]; then
  echo "skipped: a sanitized corehost cannot run under an address-space limit"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk 'BEGIN {
  printf "{\"rules\": [\n"
  for (i = 0; i < 100000; i++)
    printf "%s{\"id\": \"rule-%d\", \"expect\": \"value %d\", \"tree\": {\"name\": \"ValueOf\", \"properties\": {\"value\": \"value %d\"}}}\n", (i ? "," : ""), i, i, i
  printf "]}\n"
}' >"$work/rules.json"

failures=0
# Runs corehost with the limit in KiB; prints the outcome: "finished",
# "out-of-memory" or "message" (exit 2 with that or another corehost line) or
# "bad: ..." (anything else: a signal, a line without the prefix).
run() {
  local limit=$1
  shift
  (ulimit -v "$limit" && exec "$corehost" "$@" >"$work/out" 2>"$work/err")
  local status=$?
  local lines
  lines=$(wc -l <"$work/err")
  if [ "$status" -eq 0 ] || [ "$status" -eq 1 ]; then
    echo finished
  elif [ "$status" -eq 2 ] && [ "$lines" -ge 1 ] && ! grep -qv '^corehost: ' "$work/err"; then
    # A rule whose node ran out of memory (-103) may be reported before
    # corehost itself does; the last line says why the run ended.
    if tail -n 1 "$work/err" | grep -qx 'corehost: out of memory'; then echo "out-of-memory"; else echo message; fi
  else
    echo "bad: exit $status, $lines lines: $(head -c 300 "$work/err")"
  fi
}

for command in "eval" "eval --format json" "eval --format junit --explain" "check" "list"; do
  file="$work/rules.json"
  [ "$command" = list ] && file=
  # The least limit at which the run finishes, in steps of 1.5x from 16 MiB...
  finish=
  limit=16384
  while [ "$limit" -le 4194304 ]; do
    outcome=$(run "$limit" $command $file)
    case $outcome in
      finished) finish=$limit; break ;;
      out-of-memory | message) ;;
      *) echo "corehost $command under $limit KiB: $outcome"; failures=$((failures + 1)) ;;
    esac
    limit=$((limit * 3 / 2))
  done
  if [ -z "$finish" ]; then
    echo "corehost $command did not finish even with 4 GiB"; failures=$((failures + 1)); continue
  fi
  # ...then 8 limits evenly spaced below it, where the tool gets furthest.
  ran_out=0
  for step in $(seq 0 7); do
    limit=$((finish * (60 + 5 * step) / 100))
    outcome=$(run "$limit" $command $file)
    case $outcome in
      finished | message) ;;
      out-of-memory) ran_out=$((ran_out + 1)) ;;
      *) echo "corehost $command under $limit KiB: $outcome"; failures=$((failures + 1)) ;;
    esac
  done
  echo "corehost $command: finishes with $finish KiB; ran out of memory under $ran_out of 8 limits below"
  if [ "$command" != list ] && [ "$ran_out" = 0 ]; then
    echo "corehost $command never said it ran out of memory"; failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
