#!/usr/bin/env bash
# Runs the end-to-end suite of the reference host (ctest labels "cli",
# "e2e-real" and "system": corehost over the fake plug-in, both real ones and
# SystemPlugin alone, which loads its digest module on demand) with every corehost
# run under valgrind memcheck, on the release build. Any memory error or leak
# in corehost or a plug-in it loads fails the script.
#
# Usage: scripts/valgrind-e2e.sh [extra ctest arguments, e.g. -R boolean]
# Environment: VALGRIND_LOG_DIR keeps valgrind's logs there (default: a new
# directory under /tmp).
set -euo pipefail
cd "$(dirname "$0")/.."

command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }

bin=build/release/bin
real="$bin/corehost.memcheck-real"
# A run that was killed may have left its wrapper in place: put the program back.
if [ -e "$real" ]; then mv -f "$real" "$bin/corehost"; fi

echo "== building the release preset"
cmake --preset release -DCOREPLUGIN_BUILD_TESTS=ON >/dev/null
cmake --build --preset release -j 2

logs=${VALGRIND_LOG_DIR:-$(mktemp -d /tmp/coreplugin-valgrind.XXXXXX)}
mkdir -p "$logs"

# The case runner starts bin/corehost: put a wrapper there for the run, with
# the real program beside it (so that it still finds the plug-in in ../lib),
# and put everything back however the run ends.
mv "$bin/corehost" "$real"
# The logs go with the run (errors are printed below) unless the caller named
# the folder.
restore() {
  mv -f "$real" "$bin/corehost"
  [ -n "${VALGRIND_LOG_DIR:-}" ] || rm -rf "$logs"
}
trap restore EXIT
# valgrind logs to descriptor 3: a log file that valgrind opened itself would
# take the lowest free descriptor, standard output when a case closes it.
cat >"$bin/corehost" <<WRAPPER
#!/bin/sh
exec 3>>"$logs/corehost.\$\$.log"
exec valgrind --tool=memcheck --error-exitcode=97 --leak-check=full \\
  --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible \\
  --suppressions="$(pwd)/scripts/valgrind.supp" --log-fd=3 "$(pwd)/$real" "\$@"
WRAPPER
chmod +x "$bin/corehost"

echo "== ctest -L 'cli|e2e-real|system' with corehost under valgrind; logs in $logs"
start=$(date +%s)
rc=0
ctest --preset release -L 'cli|e2e-real|system' -j 2 "$@" || rc=$?
echo "== $(( $(date +%s) - start ))s"

dirty=$(grep -L "ERROR SUMMARY: 0 errors" "$logs"/corehost.*.log || true)
if [ -n "$dirty" ]; then
  echo "valgrind reported errors:"
  for log in $dirty; do echo "--- $log"; cat "$log"; done
  rc=1
fi
runs=$(ls "$logs"/corehost.*.log 2>/dev/null | wc -l)
echo "valgrind: $runs corehost runs checked"
[ "$runs" -gt 0 ] || { echo "no corehost run was checked" >&2; rc=1; }
exit $rc
