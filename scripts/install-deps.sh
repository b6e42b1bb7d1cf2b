#!/usr/bin/env bash
# Installs the Debian 12 packages this project needs, with apt-get: as root
# directly, as another user through sudo. Does nothing when they are all there.
#
#   scripts/install-deps.sh          what building and running corehost need
#   scripts/install-deps.sh --test   also the tests, fuzzers, benchmarks and
#                                    package checks (--all is the same)
set -euo pipefail

# Building the libraries, the plug-in and corehost, and their Debian packages.
packages=(
  cmake ninja-build g++ pkg-config
  libmount-dev libssl-dev libre2-dev libacl1-dev libsystemd-dev
  nlohmann-json3-dev libcli11-dev
  dpkg-dev file
)
# Tests and their real peers (findmnt, getfacl, sshd, valgrind, lintian,
# systemd-analyze, groff and man for the manual pages, bash-completion and
# bash in tmux for the shell completion; the programs the differential suites
# of tests/readers compare the readers with: systemd-sysctl, dash, useradd,
# dpkg-query and libpwquality's pwscore), the clang presets and libFuzzer,
# benchmarks, and what the Debian packages are made and checked with.
test_packages=(
  clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev
  python3 util-linux acl openssh-server openssl valgrind
  procps iproute2 passwd lintian systemd groff-base man-db bash-completion tmux
  dash libpwquality-tools
  dbus-daemon
)

# Headless Chromium renders the HTML reports for their tests and benchmark.
test_packages+=(chromium)
# Ansible, the apt bindings of its apt module and ansible-lint, for the playbook of
# examples/fleet (scripts/check-fleet.sh).
test_packages+=(ansible-core python3-apt ansible-lint)
# auditctl, augenrules and ausyscall: the peers of the audit rules reader.
test_packages+=(auditd)
# debootstrap: the Debian root that scripts/check-image-scan.sh scans with --root.
test_packages+=(debootstrap)
# modprobe, apt-config and apt-get, cvtsudoers: the peers of the modprobe,
# apt, deb822 and sudoers readers.
test_packages+=(kmod apt sudo)

case "${1:-}" in
  "") ;;
  --test | --all) packages+=("${test_packages[@]}") ;;
  *) echo "usage: scripts/install-deps.sh [--test | --all]" >&2; exit 2 ;;
esac

# Runs a command as root: directly, or through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "install-deps: run as root or install sudo" >&2
    exit 1
  fi
}

# A package left half-configured (an install cut off, say while man-db rebuilt
# its index) reads as missing below, and apt-get refuses to install anything
# until dpkg finishes it: finish it first.
if [ -n "$(dpkg --audit 2>/dev/null)" ]; then
  echo "Finishing an interrupted dpkg run"
  as_root env DEBIAN_FRONTEND=noninteractive dpkg --configure -a
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root apt-get update -qq
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
