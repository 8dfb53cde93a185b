#!/usr/bin/env bash
# tools/make-medium.sh: the sample medium, its floppy image, and a medium too big for it.
set -u
setup=$1; top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }

"$top/tools/make-medium.sh" "$setup" "$work/medium" "$work/floppy.img" > "$work/out.txt" 2>&1
made=$?
check "the sample medium is made" '[ $made -eq 0 ] && [ -f "$work/medium/SETUP.EXE" ]'
check "SETUP.INF has CR LF line ends" 'head -1 "$work/medium/SETUP.INF" | grep -q $'"'"'\r$'"'"
check "compressed sources are SZDD files" '[ "$(head -c 4 "$work/medium/KXMAIN.EX_")" = SZDD ]'
msexpand < "$work/medium/SYSTEM/KXMOUSE.VX_" > "$work/KXMOUSE.VXD" 2>/dev/null
check "a compressed source expands to its original" 'cmp -s "$work/KXMOUSE.VXD" "$top/sample/SYSTEM/KXMOUSE.VXD"'
check "plain sources are copied" 'cmp -s "$work/medium/INF/KXMOUSE.INF" "$top/sample/INF/KXMOUSE.INF"'
check "the floppy image is 1.44 MB" '[ "$(stat -c %s "$work/floppy.img")" -eq 1474560 ]'
mcopy -i "$work/floppy.img" ::/HELP/KXMOUSE.HL_ "$work/from-floppy" 2>/dev/null
check "the image holds the medium's files" 'cmp -s "$work/from-floppy" "$work/medium/HELP/KXMOUSE.HL_"'

mkdir -p "$work/big/DATA"
printf '[DirectoryName]\nSubDir1=DATA\n[DiskLabel]\nDisk1=a\n[FileCounts]\nDisk1=1\n[Disk1]\n1=BIG.DAT,BIG.DAT,Big,SubDir1\n' > "$work/big/SETUP.INF"
head -c 1600000 /dev/urandom > "$work/big/DATA/BIG.DAT"
"$top/tools/make-medium.sh" "$setup" "$work/bigmedium" "$work/big.img" "$work/big" > "$work/big.txt" 2>&1
status=$?
check "a medium too big for a floppy is refused" '[ $status -eq 2 ] && [ ! -e "$work/big.img" ]'
check "and the user is told why" 'grep -q "does not fit on a 1.44 MB floppy" "$work/big.txt"'
exit $fail
