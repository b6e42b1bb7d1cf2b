#!/usr/bin/env bash
# Fails every allocation of a session with the plug-in in turn (C allocator and
# operator new, plug-in and platform libraries) and checks that each rule of a
# document answers right or -103, on the release build: the allocator shim
# cannot replace a sanitizer's allocator. See docs/robustness.md.
#
# Usage: scripts/allocation-sweep.sh [DOCUMENT] [--stride K] [--from N] [--to N]
#        [--known-mount-table-faults]
# DOCUMENT defaults to tests/robustness/sweep-rules.json; every rule needs an
# "expect" and may name files under @SOURCE_DIR@. To replay one session with
# every answer printed: ALLOC_SHIM_FAIL_AT=N scripts/allocation-sweep.sh
set -euo pipefail
cd "$(dirname "$0")/.."

document=tests/robustness/sweep-rules.json
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then document=$1; shift; fi

cmake --preset release -DCOREPLUGIN_BUILD_TESTS=ON >/dev/null
cmake --build --preset release --target alloc_sweep alloc_shim CorePlugin >/dev/null
build=build/release
LD_PRELOAD="$PWD/$build/lib/liballoc_shim.so" \
  "$build/bin/alloc_sweep" "$build/lib/libCorePlugin.so" "$document" "$@"
