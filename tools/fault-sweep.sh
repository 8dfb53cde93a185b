#!/usr/bin/env bash
# The fault sweep. SETUP.EXE and UNINSTAL.EXE are built once more with a layer that
# counts every call that touches the machine (files, the registry, INI files, memory)
# and fails a chosen one; six scenarios (an installation without a mouse node, one over
# a detected PS/2 mouse, the driver-only mode, a copy cancelled half-way, the
# uninstaller after each of the two installations) run once per call with that call
# failing, alone (a Retry/Cancel question is answered Retry), with every later call of
# its kind (Cancel), and with the power cut there (the program ends at that call).
# After each run the machine is checked, the install log must name every change on
# it, and the way back is taken: after a power cut, setup run again and the uninstaller.
#   fault-sweep.sh [EVERY]
# EVERY: run every EVERY-th point only (default 1, all of them). Prints a line for each
# point that failed a check, then "fault sweep: P points in S scenarios and M modes, H
# held every check" and the time taken. Installs the Debian packages it needs and
# builds in build/ (build/x64 on a machine that cannot execute i386 code, as
# run-tests.sh does); overwrites BUILD/fault-sweep.log with the whole log, and makes
# the rig's prefix anew when an interrupted run left an installation in it.
# Exit codes: 0 every point held; 1 a point failed, or the sweep could not run.
. "$(dirname "$0")/usage.sh"
set -u
cd "$(dirname "$0")/.."
every=${1:-1}
bash tools/install-deps.sh || exit 1
. tools/wine-width.sh
build=build
cmake -S . -B build -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null || exit 1
if [ "$(wine_width)" != win32 ]; then
  build=build/x64
  cmake -S . -B build/x64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null || exit 1
fi
cmake --build "$build" -j2 --target fault_sweep medium fault_setup fault_uninstal rig_warmup || exit 1
b=$PWD/$build
bash tools/wine-rig.sh start "$b" "$b/tests/rig_warmup.exe" >/dev/null || exit 1
# A run that was stopped half-way leaves its installation in the prefix, which every
# scenario would then take for the machine's own: such a prefix is made anew.
if ! bash tests/prefix-left-clean.sh "$b" >/dev/null; then
  echo "the prefix holds what an interrupted run left: making it anew"
  bash tools/wine-rig.sh stop "$b" >/dev/null
  rm -rf "$b/wine/prefix"
  bash tools/wine-rig.sh start "$b" "$b/tests/rig_warmup.exe" >/dev/null || exit 1
fi
export SETUP_EXE=$b/SETUP.EXE UNINSTAL_EXE=$b/UNINSTAL.EXE MEDIUM=$b/medium SAMPLE=$b/package
export FAULT_SETUP=$b/fault/FSETUP.EXE FAULT_UNINSTAL=$b/fault/FUNINST.EXE FAULT_EVERY=$every
start=$(date +%s)
bash tools/wine-run.sh "$b" "$b/tests/fault_sweep.exe" > "$b/fault-sweep.log" 2>&1
status=$?
bash tools/wine-rig.sh stop "$b" >/dev/null
grep -a '^failed point:' "$b/fault-sweep.log"
summary=$(grep -a '^fault sweep:' "$b/fault-sweep.log" | tail -1)
if [ -z "$summary" ]; then
  echo "fault sweep: cut short (see $b/fault-sweep.log)"
  exit 1
fi
echo "$summary"
echo "took $(( $(date +%s) - start )) s (every $every. point; the whole log is $build/fault-sweep.log)"
[ $status -eq 0 ]
