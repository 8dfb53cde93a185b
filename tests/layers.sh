#!/usr/bin/env bash
# The sources read top-down: controller uses ui and install, which know nothing of each
# other nor of the controller; all of them, and the uninstaller, use shared, which uses
# nothing above it; and no two files include each other, however indirectly (a unit's
# header and source count as one).
#   layers.sh [BUILD_DIR NM]
# With a build tree and its nm, the calls count too: each function or variable a unit's
# object uses from another unit's object is an edge as an include is (the start-up
# code's call of WinMain excepted: the platform's entry convention).
set -u
src=$(cd "$(dirname "$0")/../src" && pwd)
build=${1:-}; nm=${2:-}
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
includes=$(printf '%s\n' "$edges" | wc -l)
calls=0
if [ -n "$build" ]; then
  objects=$(find "$build"/CMakeFiles/{sharedcore,setupcore,SETUP,UNINSTAL}.dir -name '*.cpp.obj' 2>/dev/null)
  [ -n "$objects" ] || { echo "FAIL: no objects in $build"; exit 1; }
  called=$(for o in $objects; do
    unit=$(echo "$o" | sed 's|.*/src/||; s|\.cpp\.obj$||')
    "$nm" -g --defined-only "$o" | awk -v u="$unit" 'NF == 3 && $2 ~ /[TDBRC]/ { print "D", u, $3 }'
    "$nm" -u "$o" | awk -v u="$unit" '{ print "U", u, $NF }'
  done | sort -u | awk '
    $1 == "D" { n[$3]++; def[$3] = $2 }
    $1 == "U" && $3 !~ /WinMain/ { use[++k] = $2 " " $3 }
    END { for (i = 1; i <= k; i++) { split(use[i], a, " ")
            if (n[a[2]] == 1 && def[a[2]] != a[1]) print a[1], def[a[2]] } }' | sort -u)
  calls=$(printf '%s\n' "$called" | grep -c .)
  edges=$(printf '%s\n%s\n' "$edges" "$called" | grep . | sort -u)
fi
allowed() {   # may folder $1 use folder $2?
  [ "$1" = "$2" ] && return 0
  case "$1:$2" in
    controller:ui|controller:install|controller:shared|ui:shared|install:shared|uninstall:shared) return 0 ;;
  esac
  return 1
}
while read -r from to; do
  if ! allowed "${from%%/*}" "${to%%/*}"; then
    echo "FAIL: $from includes or calls $to"
    fail=1
  fi
done <<< "$edges"
if ! printf '%s\n' "$edges" | tsort > /dev/null 2> "${TMPDIR:-/tmp}/layers.$$"; then
  echo "FAIL: files include or call each other:"
  cat "${TMPDIR:-/tmp}/layers.$$"
  fail=1
fi
rm -f "${TMPDIR:-/tmp}/layers.$$"
[ $fail -eq 0 ] && echo "ok: $includes includes and $calls calls between files, every one downward, no circle"
exit $fail
