#!/usr/bin/env bash
# A drive that fills up: a 256 KB tmpfs mapped as Wine's drive Q:, on which SETUP.EXE
# installs and system.ini is rewritten (Hardening.DiskFullDuringCopyAndPatch).
# Mounting needs root; where it is not allowed the test is reported as skipped (77).
set -u
build=$1; tests=$2
. "$build/wine/rig.env"
disk=$build/wine/smalldisk
mkdir -p "$disk"
if ! mount -t tmpfs -o size=256k tmpfs "$disk" 2>/dev/null; then
  echo "skipped: cannot mount a small file system here"
  exit 77
fi
trap 'rm -f "$WINEPREFIX/dosdevices/q:"; umount "$disk"' EXIT
ln -sfn "$disk" "$WINEPREFIX/dosdevices/q:"
"$(dirname "$0")/../tools/wine-run.sh" "$build" "$tests" --gtest_filter=Hardening.DiskFullDuringCopyAndPatch > "$build/wine/disk-full.log" 2>&1
status=$?
cat "$build/wine/disk-full.log"
grep -q '\[  PASSED  \] 1 test' "$build/wine/disk-full.log" || status=1
exit $status
