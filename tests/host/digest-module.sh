#!/usr/bin/env bash
# libSystemPlugin.so loads libcrypto only through libSystemPluginDigest.so, on
# the first digest: it records no NEEDED libcrypto itself, and a copy of it
# without the module beside it (or with a foreign library in its place)
# answers FileDigest with -103 and the loader's reason, never with a digest.
#   digest-module.sh COREHOST PLUGIN FILE
set -euo pipefail
corehost=$1 plugin=$2 file=$3
fail() { echo "digest-module: $*" >&2; exit 1; }
! readelf -d "$plugin" | grep -q 'NEEDED.*libcrypto' || fail "$plugin records NEEDED libcrypto"
readelf -d "$(dirname "$plugin")/libSystemPluginDigest.so" | grep -q 'NEEDED.*libcrypto' ||
    fail "libSystemPluginDigest.so does not record NEEDED libcrypto"
dir=$(mktemp -d); trap 'rm -rf "$dir"' EXIT
cp "$plugin" "$dir/"
tree='{"name": "FileDigest", "properties": {"absolutePath": "'$file'"}}'
digest() {  # the expected reason in the trace: $1
    local out rc=0
    out=$(LD_LIBRARY_PATH=$(dirname "$plugin") timeout 20 "$corehost" --trace --plugin \
        "$dir/libSystemPlugin.so" eval -e "$tree" 2>&1) || rc=$?
    [ "$rc" = 1 ] || fail "exit $rc, not 1: $out"
    grep -q 'FileDigest at the document root failed with -103' <<<"$out" || fail "no -103: $out"
    grep -q "trace: SystemPlugin: error: the digest module .*$1" <<<"$out" || fail "no reason: $out"
    ! grep -Eq '^[0-9a-f]{64}$' <<<"$out" || fail "a digest without the module: $out"
}
digest "$dir/libSystemPluginDigest.so: No such file or directory"
# A FIFO planted as the module (the plug-in loaded from a writable directory)
# must not block the scan.
mkfifo "$dir/libSystemPluginDigest.so"
digest "$dir/libSystemPluginDigest.so is not a regular file"
rm "$dir/libSystemPluginDigest.so"
cp "$(dirname "$plugin")/libCorePlugin.so" "$dir/libSystemPluginDigest.so"
digest "is not of this plug-in's version 1"
