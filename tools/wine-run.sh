#!/usr/bin/env bash
# Runs a Windows test program of the build tree under the rig's Wine:
#   wine-run.sh BUILD_DIR PROGRAM.exe [GTEST_ARGS...]
# The program is copied to a short path under C:\ first (overwriting an earlier copy):
# the programs read their own directory into 80 characters. The rig is started when
# it is not running.
# Exit codes: 0 only when the program exited 0, printed GoogleTest's summary, and ran
# at least one test; 1 otherwise (a program cut short, a crash after the summary, or a
# filter that matches nothing).
. "$(dirname "$0")/usage.sh"
set -u
build=$1; exe=$2; shift 2
here=$(dirname "$0")
[ -f "$build/wine/rig.env" ] || "$here/wine-rig.sh" start "$build" >/dev/null
. "$build/wine/rig.env"
name=$(basename "$exe"); name=${name%.*}
dir=$WINEPREFIX/drive_c/t/$name
mkdir -p "$dir"
cp "$exe" "$dir/$name.exe"
cd "$dir"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
wine "C:\\t\\$name\\$name.exe" "$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
summary=$(grep -aE '^\[==========\] [0-9]+ tests? from [0-9]+ test suites? ran' "$log" | tail -1)
ran=$(printf '%s' "$summary" | sed -E 's/^\[==========\] ([0-9]+) .*/\1/')
passed=$(grep -aE '^\[  PASSED  \] [0-9]+ tests?\.' "$log" | tail -1 | sed -E 's/^\[  PASSED  \] ([0-9]+) .*/\1/')
if [ $status -ne 0 ]; then
  echo "wine-run: $name exited with code $status"
  exit 1
fi
if [ -z "$summary" ]; then
  echo "wine-run: $name printed no test summary (cut short?)"
  exit 1
fi
if [ "${ran:-0}" -eq 0 ] || [ "${passed:-0}" -eq 0 ]; then
  echo "wine-run: $name ran no test (${ran:-0} run, ${passed:-0} passed)"
  exit 1
fi
exit 0
