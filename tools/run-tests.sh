#!/usr/bin/env bash
# Builds SETUP.EXE and its test programs and runs every test (under Wine where they
# are Windows programs). Installs the Debian packages it needs first.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build build -j2
cd build
ctest --output-on-failure "$@"
