#!/usr/bin/env bash
# Package files for the copy tests: originals in orig/, the medium's form (some of
# them LZ-compressed with mscompress, named with a trailing underscore) in disk/.
set -eu
out=$1
rm -rf "$out"; mkdir -p "$out/orig" "$out/disk"
cd "$out"
seq 1 4000 | sed 's/^/mouse wheel line /' > orig/KXMAIN.EXE
{ head -c 6000 /dev/urandom; seq 1 800; head -c 3000 /dev/urandom; } > orig/KXPAGE.DLL
printf 'Orvel Wheel Mouse read-me.\r\nSecond line.\r\n' > orig/README.TXT
{ printf 'VXD'; head -c 2000 /dev/zero; seq 1 300; } > orig/VMOUSE.VXD
# at the edges of the 32 KB blocks the copy expands in: exactly two, one byte more
head -c 65536 /dev/urandom > orig/EVEN.DAT
head -c 65537 /dev/urandom > orig/ODD.DAT
for f in KXMAIN.EXE KXPAGE.DLL VMOUSE.VXD EVEN.DAT ODD.DAT; do
  cp "orig/$f" "disk/$f"
  mscompress "disk/$f" >/dev/null
  mv "disk/${f}_" "disk/${f%?}_"
  rm "disk/$f"
done
cp orig/README.TXT disk/README.TXT
# and none: the header alone (mscompress follows it with two stray bytes for an empty
# file, which expand to one byte more than the header declares)
: > orig/EMPTY.DAT
printf 'SZDD\210\360\047\063A\000\000\000\000\000' > disk/EMPTY.DA_
touch stamp
