#!/usr/bin/env bash
# Builds SETUP.EXE and its test programs and runs every test: the Windows side under
# Wine (build/), then the platform-free units natively with the sanitizers and their
# fuzzers (build/native, FUZZ_SECONDS each, 60 by default). Installs the Debian
# packages it needs first. Extra arguments go to the first ctest.
set -u
cd "$(dirname "$0")/.."
bash tools/install-deps.sh || exit 1
cmake -S . -B build -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null || exit 1
cmake --build build -j2 || exit 1
(cd build && ctest --output-on-failure "$@")
windows=$?
CC=clang CXX=clang++ cmake -S tests/native -B build/native -DFUZZ_SECONDS="${FUZZ_SECONDS:-60}" >/dev/null || exit 1
cmake --build build/native -j2 || exit 1
(cd build/native && ctest --output-on-failure -V > ctest.log 2>&1)
native=$?
grep -E '^[0-9]+/[0-9]+ Test|stat::number_of_executed_units|tests passed|FAILED|ERROR|SUMMARY' build/native/ctest.log
[ $windows -eq 0 ] && [ $native -eq 0 ]
