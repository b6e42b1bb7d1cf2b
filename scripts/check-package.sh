#!/usr/bin/env bash
# Checks the installed package the way an embedding program uses it:
#  1. installs a build (default build/release) into a temporary prefix and
#     checks the libraries' SONAMEs, links and RUNPATHs;
#  2. compiles every installed header on its own, and refuses headers that need
#     the JSON or command-line libraries the evaluator uses privately;
#  3. builds examples/embedding out of the source tree against the prefix, with
#     CMake (find_package) and with plain pkg-config command lines, and runs
#     it: the SDK host must print the known result, the JSON evaluator must
#     print what the installed corehost prints for every example document;
#     and loads SystemPlugin from the path each of them gives;
#  4. moves the prefix elsewhere and does 3 again, and runs the moved corehost.
#
#   scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build/release}
cxx=${CXX:-c++}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check-package: $*" >&2
    exit 1
}

cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null

# --- Library identities: a versioned SONAME with its links for the libraries a
# program links, the module's own file name as its SONAME, RUNPATH $ORIGIN.
dynamic() { readelf -d "$1" | sed -n "s/.*($2).*\[\(.*\)\]/\1/p"; }
lib=$work/prefix/lib
for name in plugin base QxLogWrapper corehost_eval; do
    [ "$(readlink "$lib/lib$name.so")" = "lib$name.so.1" ] || fail "lib$name.so is not a link to lib$name.so.1"
    [ "$(dynamic "$lib/lib$name.so" SONAME)" = "lib$name.so.1" ] || fail "lib$name.so: SONAME is not lib$name.so.1"
    [ "$(dynamic "$lib/lib$name.so" RUNPATH)" = '$ORIGIN' ] || fail "lib$name.so: RUNPATH is not \$ORIGIN"
done
[ -f "$lib/libCorePlugin.so" ] && [ ! -L "$lib/libCorePlugin.so" ] || fail "libCorePlugin.so is not a file"
[ "$(dynamic "$lib/libCorePlugin.so" SONAME)" = libCorePlugin.so ] || fail "libCorePlugin.so: wrong SONAME"
[ "$(dynamic "$lib/libCorePlugin.so" RUNPATH)" = '$ORIGIN' ] || fail "libCorePlugin.so: RUNPATH is not \$ORIGIN"
[ -f "$lib/libSystemPlugin.so" ] && [ ! -L "$lib/libSystemPlugin.so" ] || fail "libSystemPlugin.so is not a file"
[ "$(dynamic "$lib/libSystemPlugin.so" SONAME)" = libSystemPlugin.so ] || fail "libSystemPlugin.so: wrong SONAME"
[ "$(dynamic "$lib/libSystemPlugin.so" RUNPATH)" = '$ORIGIN' ] || fail "libSystemPlugin.so: RUNPATH is not \$ORIGIN"
# Its digest module, loaded from beside it on the first digest; libcrypto is its alone.
[ -f "$lib/libSystemPluginDigest.so" ] || fail "libSystemPluginDigest.so is not installed beside libSystemPlugin.so"
[ "$(dynamic "$lib/libSystemPluginDigest.so" SONAME)" = libSystemPluginDigest.so ] || fail "libSystemPluginDigest.so: wrong SONAME"
readelf -d "$lib/libSystemPlugin.so" | grep -q 'NEEDED.*libcrypto' && fail "libSystemPlugin.so records NEEDED libcrypto"

# --- 2. Installed headers stand alone.
pc_all="coreplugin-sdk coreplugin-log coreplugin-utils coreplugin-eval"
cflags=$(PKG_CONFIG_PATH=$work/prefix/lib/pkgconfig pkg-config --cflags $pc_all)
export cxx cflags
headers=$(cd "$work/prefix/include" && find . -name '*.h' | sed 's|^\./||' | sort)
[ -n "$headers" ] || fail "no headers installed"
# The evaluator's headers are included as eval/X.h (its include directory is
# include/corehost), every other one by its path under include/.
echo "$headers" | sed 's|^corehost/||' | xargs -P2 -I{} sh -c \
    'echo "#include \"{}\"" | $cxx -std=c++17 -Wall -Wextra -Wpedantic -Werror -fsyntax-only $cflags -x c++ - ||
     { echo "check-package: {} does not compile on its own" >&2; exit 255; }'
if grep -rlE '#[[:space:]]*include[[:space:]]*[<"](nlohmann|CLI)/' "$work/prefix/include"; then
    fail "installed headers above need nlohmann-json or CLI11"
fi
echo "check-package: $(echo "$headers" | wc -l) installed headers compile on their own"

# --- 3. The example against a prefix, through CMake and through pkg-config.
expected_host=$'result: true 900150983cd24fb0d6963f7d28e17f72 c\nwords: 3'

# Loads the SystemPlugin module at $2 with the corehost of prefix $1: the names
# it lists are those its installed description describes, in order.
load_system_plugin() {
    local prefix=$1 module=$2 how=$3 names described
    [ "$(realpath "$(dirname "$module")")" = "$(realpath "$prefix/lib")" ] || fail "$how: SystemPlugin is not beside CorePlugin: $module"
    names=$("$prefix/bin/corehost" --plugin "$module" list | awk '{print $1}') ||
        fail "$how: corehost cannot load $module"
    described=$(awk -F'\t' '$1 == "expression" {print $2}' "${module%.so}.description") ||
        fail "$how: no description beside $module"
    [ -n "$names" ] && [ "$names" = "$described" ] && [ "$(echo "$names" | head -n1)" = FileText ] ||
        fail "$how: SystemPlugin lists:"$'\n'"$names"$'\n'"and its description:"$'\n'"$described"
    # FileDigest loads the digest module beside it, wherever the prefix is.
    local digest
    digest=$("$prefix/bin/corehost" --plugin "$module" eval -e \
        '{"name": "FileDigest", "properties": {"absolutePath": "'"$PWD"'/README.md"}}') ||
        fail "$how: FileDigest failed with $module"
    [ "$digest" = "$(sha256sum README.md | cut -d' ' -f1)" ] || fail "$how: FileDigest gave $digest"
    echo "check-package: $how: SystemPlugin loads from $module"
}

# Runs the two example programs of directory $1 against prefix $2.
run_examples() {
    local bin=$1 prefix=$2 how=$3
    local output
    output=$("$bin/embed_host") || fail "$how: embed_host failed"
    [ "$output" = "$expected_host" ] || fail "$how: embed_host printed:"$'\n'"$output"
    # NEEDED entries are names found through the RUNPATH, never absolute paths.
    if readelf -d "$bin/embed_host" | grep NEEDED | grep -q /; then
        fail "$how: embed_host records an absolute NEEDED entry"
    fi
    readelf -d "$bin/embed_host" | grep -q 'NEEDED.*\[libCorePlugin.so\]' ||
        fail "$how: embed_host does not record NEEDED libCorePlugin.so"
    local document want got
    for document in examples/*.json; do
        # Rules with expectations and metadata print corehost's report lines,
        # which eval_json does not imitate: it shows the evaluation alone.
        grep -q '"expect"' "$document" && continue
        want=$("$prefix/bin/corehost" eval "$document") || fail "corehost failed on $document"
        got=$("$bin/eval_json" "$document") || fail "$how: eval_json failed on $document"
        [ "$got" = "$want" ] || fail "$how: eval_json and corehost differ on $document"
    done
    echo "check-package: $how: examples ran against $prefix"
}

with_cmake() {
    local prefix=$1 bin=$2
    cmake -S examples/embedding -B "$bin" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >"$bin.log" 2>&1 || { cat "$bin.log"; fail "cmake configure"; }
    cmake --build "$bin" >>"$bin.log" 2>&1 || { cat "$bin.log"; fail "cmake build"; }
    run_examples "$bin" "$prefix" cmake
    load_system_plugin "$prefix" "$(cat "$bin/SystemPlugin_MODULE.txt")" cmake
}

with_pkg_config() {
    local prefix=$1 bin=$2
    export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
    # No -rpath: the pkg-config files give the library directory as RUNPATH.
    local module
    module=$(pkg-config --variable=module coreplugin-sdk)
    mkdir -p "$bin"
    # shellcheck disable=SC2046 # the flags are words
    $cxx -std=c++17 -Wall -Wextra -Wpedantic -Werror -DCOREPLUGIN_MODULE="\"$module\"" \
        examples/embedding/embed_host.cpp -o "$bin/embed_host" \
        $(pkg-config --cflags --libs coreplugin-sdk coreplugin-utils) -ldl
    # shellcheck disable=SC2046
    $cxx -std=c++17 -Wall -Wextra -Wpedantic -Werror -DCOREPLUGIN_MODULE="\"$module\"" \
        examples/embedding/eval_json.cpp -o "$bin/eval_json" \
        $(pkg-config --cflags --libs coreplugin-eval)
    load_system_plugin "$prefix" "$(pkg-config --variable=systemplugin_module coreplugin-sdk)" pkg-config
    unset PKG_CONFIG_PATH
    run_examples "$bin" "$prefix" pkg-config
}

with_cmake "$work/prefix" "$work/cmake"
with_pkg_config "$work/prefix" "$work/pkg-config"

# --- 4. The prefix moved: nothing in it may remember where it was.
mv "$work/prefix" "$work/moved"
if grep -rl "$work/prefix" "$work/moved"; then
    fail "the files above hold the prefix they were installed at"
fi
[ "$("$work/moved/bin/corehost" eval examples/version-check.json)" = true ] ||
    fail "the moved corehost does not run"
with_cmake "$work/moved" "$work/cmake-moved"
with_pkg_config "$work/moved" "$work/pkg-config-moved"
echo "check-package: the package works, also after moving its prefix"
