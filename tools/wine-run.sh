#!/usr/bin/env bash
# Runs a Windows program of the build tree under the rig's Wine. The program is
# copied to a short path under C:\ first: the programs read their own directory
# into 80 characters.
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
exec wine "C:\\t\\$name\\$name.exe" "$@"
