#!/usr/bin/env bash
# The product's and the device's registry entries outlast the registry server: they
# are written, wineserver is stopped (it saves the registry and drops volatile keys),
# and a new server reads them back.
set -u
build=$1; tests=$2
here=$(dirname "$0")
"$here/../tools/wine-run.sh" "$build" "$tests" --gtest_filter=Survival.Write || exit 1
. "$build/wine/rig.env"
wineserver -k; wineserver -w
echo "wineserver stopped; starting a new one"
"$here/../tools/wine-rig.sh" start "$build" >/dev/null
"$here/../tools/wine-run.sh" "$build" "$tests" --gtest_filter=Survival.CheckAndClean
