#!/usr/bin/env bash
# tools/run-setup.sh --floppies --win98: the sample installed on autopilot from one
# floppy image per disk under Windows 95/98's answers; setup asks for the second disk by
# its label, gets it in A: (empty while the disks change) and goes on.
#   two-floppies.sh BUILD_DIR
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
run=$(cd "$1" && pwd)/floppy-run
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }
inf=$top/sample/SETUP.INF
label2=$(tr -d '\r' < "$inf" | sed -n '/^\[DiskLabel\]/,/^\[/s/^Disk2=//p')

RUN_DIR=$run bash "$top/tools/run-setup.sh" --floppies --win98 > "$run.log" 2>&1
status=$?
sed 's/^/  | /' "$run.log"
check "the run ends with the finish page" '[ $status -eq 0 ] && grep -q "^autopilot: finished" "$run.log"'
check "each disk has an image of its own" \
  '[ -f "$run/disk1.img" ] && [ -f "$run/disk2.img" ] && ! mdir -/ -b -i "$run/disk1.img" :: | grep -q "HELP/KXMOUSE.HL_"'
check "setup asked for disk 2 by its label, and got it" \
  'grep -q "^  '"'$label2'"': disk 2 put in A:" "$run.log"'
check "nothing Windows 95/98 would not have let pass" \
  'grep -A1 "^== Windows 95/98 answers" "$run.log" | grep -qx "  nothing"'
check "no other disk prompt" \
  '[ "$(sed -n "/^== Disk prompts answered/,/^$/p" "$run.log" | grep -c "^  '"'"'")" -eq 1 ]'
drive=$run/prefix/drive_c
for f in "ORVEL/KXMAIN.EXE KXMAIN.EXE" "ORVEL/DOCS/MANUAL.TXT DOCS/MANUAL.TXT" \
         "ORVEL/HELP/KXMOUSE.HLP HELP/KXMOUSE.HLP" "ORVEL/DRIVERS/KXMOUSE.DRV DRIVERS/KXMOUSE.DRV" \
         "windows/system/KXMOUSE.VXD SYSTEM/KXMOUSE.VXD" "windows/KXMOUSE.INI WINDOWS/KXMOUSE.INI"; do
  installed=${f% *}; original=${f#* }
  check "installed whole: C:/$installed" 'cmp -s "$drive/$installed" "$top/sample/$original"'
done
exit $fail
