#!/usr/bin/env bash
# tools/run-setup.sh --cd --uninstall --win98: the sample made a CD image, installed on
# autopilot from it as a read-only CD-ROM drive under Windows 95/98's answers, and
# removed by its uninstaller.
#   cd-install.sh BUILD_DIR
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
run=$(cd "$1" && pwd)/cd-run
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }

RUN_DIR=$run bash "$top/tools/run-setup.sh" --cd --uninstall --win98 > "$run.log" 2>&1
status=$?
sed 's/^/  | /' "$run.log"
check "the run ends with the finish page, from the CD image as D:" \
  '[ $status -eq 0 ] && grep -q "^autopilot: finished" "$run.log" &&
   grep -q "^Starting D:.SETUP.EXE .*from the CD image $run/medium.iso" "$run.log"'
check "D: holds the image's files, read-only, and setup installed them" \
  '[ "$(readlink "$run/prefix/dosdevices/d:")" = "$run/cd" ] && [ -z "$(find "$run/cd" -perm /222)" ] &&
   cmp -s "$run/cd/SETUP.INF" "$run/medium/SETUP.INF" &&
   grep -qx "  C:/ORVEL/KXMAIN.EXE  $(stat -c %s "$top/sample/KXMAIN.EXE") bytes" "$run/installed.txt"'
check "the uninstaller ended with exit code 0 and removed them; nothing Windows 95/98 would not let pass" \
  'sed -n "/^== The uninstall entry/,/^$/p" "$run.log" | grep -q "exit code 0" &&
   sed -n "/^== Files of the installation removed/,/^$/p" "$run.log" | grep -qx "  C:/ORVEL/KXMAIN.EXE" &&
   grep -A1 "^== Windows 95/98 answers" "$run.log" | grep -qx "  nothing"'
exit $fail
