#!/bin/bash
# corehost under address-space limits (RLIMIT_AS) at several levels, on a
# document of 100,000 rules made here: eval, check and list either finish
# (exit 0 or 1) or exit 2 with one line "corehost: ..." on standard error,
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
# "message" (exit 2 with one corehost line) or "bad: ..." (anything else).
run() {
  local limit=$1
  shift
  (ulimit -v "$limit" && exec "$corehost" "$@" >"$work/out" 2>"$work/err")
  local status=$?
  local lines
  lines=$(wc -l <"$work/err")
  if [ "$status" -eq 0 ] || [ "$status" -eq 1 ]; then
    echo finished
  elif [ "$status" -eq 2 ] && [ "$lines" -eq 1 ] && grep -q '^corehost: ' "$work/err"; then
    if grep -qx 'corehost: out of memory' "$work/err"; then echo "out-of-memory"; else echo message; fi
  else
    echo "bad: exit $status, $lines lines: $(head -c 300 "$work/err")"
  fi
}

for command in "eval" "eval --format json" "check" "list"; do
  file="$work/rules.json"
  [ "$command" = list ] && file=
  ran_out=0
  finished=0
  # 16 MiB to 2 GiB in steps of about 1.4x.
  for limit in 16384 24576 32768 49152 65536 98304 131072 196608 262144 393216 524288 786432 1048576 1572864 2097152; do
    outcome=$(run "$limit" $command $file)
    case $outcome in
      finished) finished=1; break ;;
      out-of-memory) ran_out=1 ;;
      message) ;;
      *) echo "corehost $command under $limit KiB: $outcome"; failures=$((failures + 1)) ;;
    esac
  done
  echo "corehost $command: ran out of memory: $ran_out, finished: $finished (limit $limit KiB)"
  if [ "$finished" = 0 ]; then
    echo "corehost $command did not finish even with 2 GiB"; failures=$((failures + 1))
  fi
  if [ "$command" != list ] && [ "$ran_out" = 0 ]; then
    echo "corehost $command never said it ran out of memory"; failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
