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
for f in KXMAIN.EXE KXPAGE.DLL VMOUSE.VXD; do
  cp "orig/$f" "disk/$f"
  mscompress "disk/$f" >/dev/null
  mv "disk/${f}_" "disk/${f%?}_"
  rm "disk/$f"
done
cp orig/README.TXT disk/README.TXT
touch stamp
