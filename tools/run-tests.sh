#!/usr/bin/env bash
# Builds SETUP.EXE and its test programs and runs every test: the Windows side under
# Wine (build/), then the platform-free units natively with the sanitizers and their
# fuzzers (build/native):
#   run-tests.sh [CTEST_ARGS...]
# Installs the Debian packages it needs first. Extra arguments go to the Windows-side
# ctest (for example -R script). FUZZ_SECONDS: seconds per fuzzer (default 60).
# On a machine that cannot execute i386 code the 32-bit build's files are still
# checked, and the Windows-side tests run on its 64-bit twin (build/x64) instead.
# Writes and overwrites below build/ only (the build trees, the tests' Wine prefix in
# build/wine, screenshots in build/artifacts), apart from the tests' temporary files.
# Exit codes: 0 every test passed; non-zero otherwise.
. "$(dirname "$0")/usage.sh"
set -u
cd "$(dirname "$0")/.."
bash tools/install-deps.sh || exit 1
. tools/wine-width.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null || exit 1
cmake --build build -j2 || exit 1
if [ "$(wine_width)" = win32 ]; then
  (cd build && ctest --output-on-failure "$@")
  windows=$?
else
  echo "== This machine cannot execute i386 code: the 32-bit SETUP.EXE is checked as a file;"
  echo "== the Windows-side tests run the same sources built for x86-64 under the 64-bit Wine."
  (cd build && ctest --output-on-failure -L files)
  files=$?
  cmake -S . -B build/x64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null || exit 1
  cmake --build build/x64 -j2 || exit 1
  (cd build/x64 && ctest --output-on-failure "$@")
  windows=$?
  [ $files -eq 0 ] || windows=1
fi
CC=clang CXX=clang++ cmake -S tests/native -B build/native -DFUZZ_SECONDS="${FUZZ_SECONDS:-60}" >/dev/null || exit 1
cmake --build build/native -j2 || exit 1
(cd build/native && ctest --output-on-failure -V > ctest.log 2>&1)
native=$?
grep -E '^[0-9]+/[0-9]+ Test|stat::number_of_executed_units|tests passed|FAILED|ERROR|SUMMARY|failing input kept' build/native/ctest.log
[ $windows -eq 0 ] && [ $native -eq 0 ]
