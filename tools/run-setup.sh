#!/usr/bin/env bash
# Builds SETUP.EXE, lays out the sample medium and starts SETUP.EXE from it under
# Wine in a fresh Windows 98 prefix (build/run). With a display it runs in a Wine
# virtual desktop of 800x600; without one it runs on a private Xvfb display.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build build -j2 --target SETUP drive_walk

run=$PWD/build/run
rm -rf "$run"; mkdir -p "$run"
export WINEPREFIX=$run/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  n=120; while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!; trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
  export DISPLAY=":$n"; sleep 1
fi
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
wineserver -w

medium=$WINEPREFIX/drive_c/MEDIUM
mkdir -p "$medium"
cp build/SETUP.EXE "$medium/"
cp -r sample/. "$medium/"
echo "Starting C:\\MEDIUM\\SETUP.EXE $* (Windows 98 prefix in $WINEPREFIX)"
set +e
if [ $headless = 1 ] && [ $# -eq 0 ]; then
  # Nobody to click: walk the wizard with the defaults and restart later.
  cp build/tests/drive_walk.exe "$medium/"
  wine explorer /desktop=Setup,800x600 'C:\MEDIUM\drive_walk.exe' later &
  driver=$!
fi
wine explorer /desktop=Setup,800x600 'C:\MEDIUM\SETUP.EXE' "$@"
status=$?
[ -n "${driver:-}" ] && wait "$driver"
wineserver -w
echo "SETUP.EXE ended with exit code $status"
if [ -d "$WINEPREFIX/drive_c/ORVEL" ]; then
  echo "Installed in C:\ORVEL:"
  (cd "$WINEPREFIX/drive_c/ORVEL" && find . -type f -printf '  %p  %s bytes\n')
fi
