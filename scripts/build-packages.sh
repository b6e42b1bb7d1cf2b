#!/usr/bin/env bash
# Builds the Debian packages coreplugin and coreplugin-dev from this tree with
# CPack's DEB generator and puts them in OUTDIR:
#   coreplugin      /usr/bin/corehost, the plug-ins and their libraries in the
#                   private directory /usr/lib/<multiarch>/coreplugin, the
#                   examples and baselines in /usr/share/coreplugin;
#   coreplugin-dev  headers in /usr/include/coreplugin, the CMake package in
#                   /usr/lib/<multiarch>/cmake/CorePlugin and the pkg-config
#                   files in /usr/lib/<multiarch>/pkgconfig.
# A release build (gcc) with Debian's hardening flags, in build/package (or
# $PACKAGE_BUILD_DIR); the version is the project's, the dependencies are what
# dpkg-shlibdeps finds in the binaries.
#
#   scripts/build-packages.sh OUTDIR
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 1 ] || { echo "usage: scripts/build-packages.sh OUTDIR" >&2; exit 2; }
mkdir -p "$1"
out=$(cd "$1" && pwd)
build=${PACKAGE_BUILD_DIR:-build/package}

multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
# The Debian changelog is dated by the last commit, so a rebuild gives the
# same packages.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)

cmake --preset release -B "$build" \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_INSTALL_LIBDIR="lib/$multiarch/coreplugin" \
  -DCMAKE_INSTALL_INCLUDEDIR=include/coreplugin \
  -DCOREPLUGIN_INSTALL_CMAKEDIR="lib/$multiarch/cmake/CorePlugin" \
  -DCOREPLUGIN_INSTALL_PKGCONFIGDIR="lib/$multiarch/pkgconfig" \
  -DCOREPLUGIN_BUILD_TESTS=OFF -DCOREPLUGIN_BUILD_BENCH=OFF -DCOREPLUGIN_BUILD_FUZZ=OFF \
  -DCOREPLUGIN_PACKAGE_DEB=ON \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_SHARED_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_MODULE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "${PACKAGE_JOBS:-2}"
rm -rf "$build/cpack"
cpack --config "$build/CPackConfig.cmake" -B "$build/cpack" >/dev/null
cp "$build"/cpack/coreplugin*.deb "$out"/
ls "$out"/coreplugin*.deb
