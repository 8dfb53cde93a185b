#!/usr/bin/env bash
# The product's and the device's registry entries outlast the registry server: they
# are written with a volatile marker beside them, wineserver is stopped (it saves the
# registry and drops volatile keys), and a new server reads them back and finds the
# marker gone, which proves that it really was a new server.
set -u
build=$1; tests=$2
here=$(dirname "$0")
run() { "$here/../tools/wine-run.sh" "$build" "$tests" --gtest_also_run_disabled_tests "$@"; }
run --gtest_filter=Survival.DISABLED_Write || { echo "FAILED: writing the entries"; exit 1; }
. "$build/wine/rig.env"
wineserver -k; wineserver -w
echo "wineserver stopped; starting a new one"
"$here/../tools/wine-rig.sh" start "$build" >/dev/null || { echo "FAILED: the rig did not restart"; exit 1; }
run --gtest_filter=Survival.DISABLED_CheckAndClean || { echo "FAILED: reading the entries back"; exit 1; }
