#!/usr/bin/env bash
# tools/run-setup.sh --package: a package other than the sample (its own product, title,
# disk labels and destination, two disks, no UNINSTAL.EXE of its own) installed on
# autopilot from its floppy images and uninstalled; then one whose destination exists, so
# that SETUP.EXE asks a question the autopilot does not know: the run stops within its
# time limit, naming the question, with a screenshot.
#   other-package.sh BUILD_DIR
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(cd "$1" && pwd)/other-package
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }
rm -rf "$work"; mkdir -p "$work/pkg/NOTES" "$work/pkg/SYSTEM"
pkg=$work/pkg
# Writes the package's script with destination $1.
script() {
  printf '%s\r\n' '[Main]' 'ProductName=Tallis' "DefaultPath=$1" 'MinimumSpace=200' \
    'DefaultSerialMouse=1' '[DiskLabel]' 'Disk1=Tallis Disk One' 'Disk2=Tallis Disk Two' \
    '[DirectoryName]' 'RootDir=.' 'SubDir1=NOTES' 'WinSystemDir=SYSTEM' \
    '[FileCounts]' 'Disk1=3' 'Disk2=2' \
    '[Disk1]' '1=SETUP.INF, SETUP.INF, Setup script, RootDir' \
    '2=UNINSTAL.EX_, UNINSTAL.EXE, Uninstaller, RootDir' '3=TMAIN.EX_, TMAIN.EXE, Program, RootDir' \
    '[Disk2]' '1=NOTES.TX_, NOTES.TXT, Notes, SubDir1' '2=TWHEEL.VX_, TWHEEL.VXD, Driver, WinSystemDir' \
    '[Startup]' 'Title=Tallis Scroll Wheel' 'Mfg=Tallis' > "$pkg/SETUP.INF"
}
script 'C:\TALLIS'
head -c 30000 /dev/urandom > "$pkg/TMAIN.EXE"
seq 4000 > "$pkg/NOTES/NOTES.TXT"
head -c 9000 /dev/urandom > "$pkg/SYSTEM/TWHEEL.VXD"

run=$work/run log=$work/run.log
RUN_DIR=$run bash "$top/tools/run-setup.sh" --package "$pkg" --floppies --uninstall > "$log" 2>&1
status=$?
sed 's/^/  | /' "$log"
check "the run ends as expected" '[ $status -eq 0 ]'
check "the built uninstaller is added to a copy, and the output says so" \
  'grep -q "has no UNINSTAL.EXE" "$log" && [ ! -e "$pkg/UNINSTAL.EXE" ]'
check "setup asked for disk 2 by its own label, and got it" \
  'grep -q "^  '"'Tallis Disk Two'"': disk 2 put in A:" "$log"'
# The files as the report kept in the run's directory lists them before the uninstaller ran.
installed=$(sed -n '/^== Files installed/,/^$/p' "$run/report.txt")
for f in "TALLIS/TMAIN.EXE $pkg/TMAIN.EXE" "TALLIS/NOTES/NOTES.TXT $pkg/NOTES/NOTES.TXT" \
         "windows/system/TWHEEL.VXD $pkg/SYSTEM/TWHEEL.VXD" "TALLIS/UNINSTAL.EXE $run/package/UNINSTAL.EXE"; do
  at=${f% *}; from=${f#* }
  check "installed whole: C:/$at" 'grep -qx "  C:/$at  $(stat -c %s "$from") bytes" <<<"$installed"'
done
check "the uninstaller ended with exit code 0" \
  'sed -n "/^== The uninstall entry/,/^$/p" "$log" | grep -q "exit code 0"'

script 'C:\WINDOWS'
run=$work/stuck log=$work/stuck.log
RUN_TIME_LIMIT=60 RUN_DIR=$run bash "$top/tools/run-setup.sh" --package "$pkg" > "$log" 2>&1
status=$?
took=$(( $(date +%s) - $(stat -c %Y "$run/started") ))
sed 's/^/  | /' "$log"
check "the run fails" '[ $status -ne 0 ]'
check "the output names the question on screen" \
  'grep -q "\"Tallis Setup Program\".*The specified directory already exists" "$log"'
shot=$(sed -n 's/^ *screenshot: //p' "$log")
check "the screenshot named is there" '[ -n "$shot" ] && [ "$(head -c 4 "$shot" | tail -c 3)" = PNG ]'
check "the run ended within the time limit ($took s)" '[ $took -le 60 ]'
exit $fail
