#!/bin/sh
# Runs a command in a private mount namespace holding the mounts that the mount
# cases (cases/mounts.json) look up, all on a scratch tmpfs over the directory
# DIR; exits 77 (the test is skipped) where no such namespace can be made.
# Nothing is mounted outside the namespace, and nothing is left behind.
#   in-mount-namespace.sh DIR COMMAND [ARGUMENT...]
unshare --mount --propagation private true 2>/dev/null || exit 77
exec unshare --mount --propagation private sh -euc '
  d=$1
  shift
  mount -t tmpfs scratch "$d"
  mkdir "$d/nfs" "$d/bind" "$d/dav" "$d/ssh"
  mount -t tmpfs nas:/export "$d/nfs"
  mkdir "$d/nfs/sub"
  mount --bind "$d/nfs/sub" "$d/bind"
  mount -t tmpfs https://bob@dav.example.com:8443/remote "$d/dav"
  mount -t tmpfs carol@ssh.example:/home/carol "$d/ssh"
  exec "$@"' sh "$@"
