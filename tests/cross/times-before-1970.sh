#!/usr/bin/env bash
# FileInfo through corehost and the real plug-in, checked against stat(1) of
# the same files: every field, through a symbolic link too, times with
# fractions of a second (dropped) and from before 1970 (signed seconds); and
# FileInfoCompare and Compare "integer" order those before every later time.
#   times-before-1970.sh COREHOST
set -uo pipefail
corehost=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
touch -d '1901-12-14 00:00:00 UTC' "$dir/older"
touch -a -d '1969-12-31 23:59:58.7 UTC' "$dir/old"
touch -m -d '1969-12-31 23:59:59 UTC' "$dir/old"
printf hello >"$dir/new"
touch -a -d '2001-09-09 01:46:40.6 UTC' "$dir/new"
touch -m -d '1970-01-01 00:00:01.999999999 UTC' "$dir/new"
ln -s new "$dir/link"
passed=0 failed=0
check() { # what expected actual
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL $1: expected [$2], got [$3]"; fi
}
info() { echo "{\"name\": \"FileInfo\", \"properties\": {\"absolutePath\": \"$dir/$1\", \"field\": \"$2\"}}"; }
infoCompare() {
  "$corehost" eval -e "{\"name\": \"FileInfoCompare\", \"properties\": {\"absolutePath\": \"$dir/$1\",
    \"field\": \"$2\", \"relation\": \"$3\", \"value\": \"$4\"}}" 2>&1
}
for file in older old new link; do
  for field in mtime:%Y atime:%X ctime:%Z inode:%i size:%s; do
    check "FileInfo $file ${field%:*}" "$(stat -L -c "${field#*:}" "$dir/$file")" \
      "$("$corehost" eval -e "$(info "$file" "${field%:*}")" 2>&1)"
  done
done
old=$(stat -c %Y "$dir/old") new=$(stat -c %Y "$dir/new")
check "old mtime eq its stat" true "$(infoCompare old mtime eq "$old")"
check "old mtime lt new's" true "$(infoCompare old mtime lt "$new")"
check "older atime lt old's" true "$(infoCompare older atime lt "$old")"
check "old ctime gt old mtime" true "$(infoCompare old ctime gt "$old")"
check "old mtime ge 0" false "$(infoCompare old mtime ge 0)"
check "Compare integer old lt new" true "$("$corehost" eval -e "{\"name\": \"Compare\",
  \"properties\": {\"type\": \"integer\", \"relation\": \"lt\"},
  \"children\": [$(info old mtime), $(info new mtime)]}" 2>&1)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
