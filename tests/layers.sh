#!/usr/bin/env bash
# The sources read top-down: controller uses ui and install, which know nothing of each
# other nor of the controller; all of them, and the uninstaller, use shared, which uses
# nothing above it; and no two files include each other, however indirectly (a unit's
# header and source count as one).
set -u
src=$(cd "$(dirname "$0")/../src" && pwd)
fail=0
# "folder/unit folder/unit" for every #include "..." of the sources
edges=$(cd "$src" && for f in */*.cpp */*.h; do
  dir=${f%%/*}
  sed -n 's/^#include "\([^"]*\)".*/\1/p' "$f" | while read -r inc; do
    target=$(realpath -m --relative-to=. "$dir/$inc")
    case $target in ../*) continue ;; esac   # resources
    echo "${f%.*} ${target%.*}"
  done
done)
allowed() {   # may folder $1 use folder $2?
  [ "$1" = "$2" ] && return 0
  case "$1:$2" in
    controller:ui|controller:install|controller:shared|ui:shared|install:shared|uninstall:shared) return 0 ;;
  esac
  return 1
}
while read -r from to; do
  if ! allowed "${from%%/*}" "${to%%/*}"; then
    echo "FAIL: $from includes $to"
    fail=1
  fi
done <<< "$edges"
if ! printf '%s\n' "$edges" | tsort > /dev/null 2> "${TMPDIR:-/tmp}/layers.$$"; then
  echo "FAIL: files include each other:"
  cat "${TMPDIR:-/tmp}/layers.$$"
  fail=1
fi
rm -f "${TMPDIR:-/tmp}/layers.$$"
[ $fail -eq 0 ] && echo "ok: $(printf '%s\n' "$edges" | wc -l) includes, every one downward, no circle"
exit $fail
