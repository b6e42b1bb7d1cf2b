#!/usr/bin/env bash
# Checks the Debian packages as an administrator and a developer use them, on
# this machine (as root; CI runs it):
#  1. builds them (scripts/build-packages.sh) and runs lintian: no error or
#     warning, and only the tags that docs/building.md explains;
#  2. the version is the project's, the dependencies were computed;
#  3. apt-get install of both; the bash completion is in place;
#     /usr/bin/corehost runs the installed examples
#     and the packaged baseline (scripts/run-baseline.sh) from /usr/share/coreplugin, and
#     the systemd units' command works against it; man finds and shows
#     corehost(1) and corehost-rules(5);
#  4. examples/embedding builds against the system paths, with CMake and with
#     docs/building.md's pkg-config line (no PKG_CONFIG_PATH, no -rpath), and runs;
#  5. apt-get purge leaves none of the packages' files.
#
#   scripts/check-debian-packages.sh [DEB_DIR]   (DEB_DIR: use packages built already)
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "check-debian-packages: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || fail "run as root: it installs and purges packages"
for package in coreplugin coreplugin-dev; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        fail "$package is installed already; purge it first"
    fi
done
work=$(mktemp -d)
cleanup() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq coreplugin-dev coreplugin >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# --- 1. Build and lint.
debs=${1:-}
if [ -z "$debs" ]; then
    debs=$work/debs
    bash scripts/build-packages.sh "$debs" >/dev/null
fi
# apt-get takes a file for a package only by a path with a slash in front
# (./x.deb or /dir/x.deb): the folder is made absolute.
debs=$(cd "$debs" && pwd)
runtime=$(ls "$debs"/coreplugin_*.deb)
dev=$(ls "$debs"/coreplugin-dev_*.deb)
# The tags we accept are listed and explained in docs/building.md ("Debian packages").
explained=$(awk '/^\| Tag \| Why \|$/ { table = 1; next } table && !/^\|/ { exit }
                table && match($0, /^\| `[a-z0-9-]+`/) { print substr($0, 4, RLENGTH - 4) }' docs/building.md |
    paste -sd, -)
lintian_out=$(lintian --fail-on error,warning --display-info --suppress-tags "${explained:-none}" \
    "$runtime" "$dev" 2>&1 | grep -v '^running with root privileges') || true
[ -z "$lintian_out" ] || fail "lintian tags that docs/building.md does not explain:"$'\n'"$lintian_out"
echo "check-debian-packages: lintian clean (explained tags: ${explained:-none})"

# --- 2. Version and dependencies.
version=$(sed -n 's/^project(CorePlugin VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ "$(dpkg-deb -f "$runtime" Version)" = "$version-1" ] || fail "the package's version is not $version-1"
depends=$(dpkg-deb -f "$runtime" Depends)
for library in libc6 libstdc++6; do
    [[ ",$depends" == *", $library "* || ",$depends" == *",$library "* ]] ||
        fail "coreplugin does not depend on $library: $depends"
done
[[ "$(dpkg-deb -f "$dev" Depends)" == *"coreplugin (= $version-1)"* ]] ||
    fail "coreplugin-dev does not depend on coreplugin of its own version"

# --- 3. Install and run.
# Slim Debian images exclude /usr/share/man from every installation
# (path-exclude in /etc/dpkg/dpkg.cfg.d/); the pages are let in here, so that
# what is checked is that the package installs them.
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    -o 'DPkg::Options::=--path-include=/usr/share/man/*' "$runtime" "$dev" >/dev/null
dpkg-query -L coreplugin coreplugin-dev | sort -u >"$work/files"
[ "$(command -v corehost)" = /usr/bin/corehost ] || fail "corehost is not /usr/bin/corehost"
[[ "$(corehost --version)" == *"$version"* ]] || fail "corehost --version does not say $version"
[ "$(corehost list | wc -l)" -ge 33 ] || fail "corehost lists fewer than 33 expressions"
completion=/usr/share/bash-completion/completions/corehost
[ -f "$completion" ] && bash -n "$completion" || fail "$completion is missing or not bash"
(cd /usr/share/coreplugin && corehost eval examples/rule-pack.json >/dev/null) ||
    fail "the installed corehost fails on examples/rule-pack.json"
# FileDigest loads libSystemPluginDigest.so from beside the installed plug-in.
digest=$(corehost eval -e '{"name": "FileDigest", "properties": {"absolutePath": "/usr/bin/corehost"}}') ||
    fail "the installed corehost fails on FileDigest"
[ "$digest" = "$(sha256sum /usr/bin/corehost | cut -d' ' -f1)" ] || fail "FileDigest gave $digest"
# The baseline for this system, from the package: scripts/run-baseline.sh
# evaluates it (also as if no package were installed) and fails when a rule
# errs or its README's table does not list exactly its rules.
baseline=/usr/share/coreplugin/baseline/debian12.json
if [ -e "$baseline" ] || fail "the package does not carry $baseline"; then
    status=0
    bash scripts/run-baseline.sh /usr/bin/corehost "$baseline" >"$work/baseline.txt" 2>&1 || status=$?
    cat "$work/baseline.txt"
    [ "$status" = 0 ] || fail "the installed baseline does not run cleanly"
    echo "check-debian-packages: the baseline ran (exit $status)"
fi
# The manual pages, found where man looks and rendered.
[ "$(man -w corehost)" = /usr/share/man/man1/corehost.1.gz ] || fail "man -w corehost: $(man -w corehost 2>&1)"
[ "$(man -w 5 corehost-rules)" = /usr/share/man/man5/corehost-rules.5.gz ] ||
    fail "man -w 5 corehost-rules: $(man -w 5 corehost-rules 2>&1)"
# Spaces squeezed: man justifies a paragraph longer than the width.
page=$(MANWIDTH=1000 MANPAGER=cat man corehost 2>&1 | tr -s ' ')
[[ "$page" == *"Evaluates the documents, in order"* ]] || fail "man corehost shows no page: $page"
page=$(MANWIDTH=1000 MANPAGER=cat man 5 corehost-rules 2>&1 | tr -s ' ')
[[ "$page" == *"A tree node is a JSON object"* ]] || fail "man 5 corehost-rules shows no page: $page"
bash tests/systemd/check-units.sh /usr/share/coreplugin/examples/systemd /usr/bin/corehost \
    /usr/share/coreplugin examples/rule-pack.json >/dev/null

# --- 4. The embedding example against the system paths.
expected=$'result: true 900150983cd24fb0d6963f7d28e17f72 c\nwords: 3'
cmake -S examples/embedding -B "$work/cmake" -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    >"$work/cmake.log" 2>&1 && cmake --build "$work/cmake" >>"$work/cmake.log" 2>&1 ||
    { cat "$work/cmake.log"; fail "examples/embedding does not build with CMake"; }
[ "$("$work/cmake/embed_host")" = "$expected" ] || fail "embed_host (CMake) printed something else"
[ "$("$work/cmake/eval_json" examples/version-check.json)" = true ] || fail "eval_json (CMake) failed"
# shellcheck disable=SC2046 # the flags are words
c++ -std=c++17 -Wall -Wextra -Werror examples/embedding/embed_host.cpp -o "$work/embed_host" \
    -DCOREPLUGIN_MODULE="\"$(pkg-config --variable=module coreplugin-sdk)\"" \
    $(pkg-config --cflags --libs coreplugin-sdk coreplugin-utils) -ldl
[ "$("$work/embed_host")" = "$expected" ] || fail "embed_host (pkg-config) printed something else"
echo "check-debian-packages: installed, ran corehost and the embedding example from the system paths"

# --- 5. Purge: nothing of either package stays.
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq coreplugin-dev coreplugin >/dev/null
left=$(while read -r path; do
    if [ -L "$path" ] || { [ -e "$path" ] && [ ! -d "$path" ]; }; then echo "$path"; fi
done <"$work/files")
[ -z "$left" ] || fail "files left after the purge:"$'\n'"$left"
for directory in /usr/share/coreplugin /usr/share/doc/coreplugin /usr/include/coreplugin \
    "/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/coreplugin"; do
    [ ! -e "$directory" ] || fail "$directory is left after the purge"
done
! dpkg-query -W coreplugin coreplugin-dev >/dev/null 2>&1 || fail "dpkg still knows the packages"
echo "check-debian-packages: purged, nothing left ($(wc -l <"$work/files") paths checked)"
