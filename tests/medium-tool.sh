#!/usr/bin/env bash
# tools/make-medium.sh: the sample medium, its floppy image and checksums, a medium too
# big for it, a package with an error, one floppy image per disk, a CD image, spanning.
set -u
setup=$1; top=$(cd "$(dirname "$0")/.." && pwd)
package=${2:-$top/sample}   # the build lays the sample out with the UNINSTAL.EXE it built
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }

# relative paths, as a user types them
(cd "$work" && "$top/tools/make-medium.sh" "$setup" medium floppy.img "$package") > "$work/out.txt" 2>&1
made=$?
check "the sample medium is made" '[ $made -eq 0 ] && [ -f "$work/medium/SETUP.EXE" ]'
check "SETUP.INF has CR LF line ends" 'head -1 "$work/medium/SETUP.INF" | grep -q $'"'"'\r$'"'"
check "compressed sources are SZDD files" '[ "$(head -c 4 "$work/medium/KXMAIN.EX_")" = SZDD ]'
msexpand < "$work/medium/SYSTEM/KXMOUSE.VX_" > "$work/KXMOUSE.VXD" 2>/dev/null
check "a compressed source expands to its original" 'cmp -s "$work/KXMOUSE.VXD" "$top/sample/SYSTEM/KXMOUSE.VXD"'
msexpand < "$work/medium/UNINSTAL.EX_" > "$work/UNINSTAL.EXE" 2>/dev/null
check "the uninstaller is on the medium, compressed" 'cmp -s "$work/UNINSTAL.EXE" "$package/UNINSTAL.EXE"'
check "plain sources are copied" 'cmp -s "$work/medium/INF/KXMOUSE.INF" "$top/sample/INF/KXMOUSE.INF"'
check "the floppy image is 1.44 MB" '[ "$(stat -c %s "$work/floppy.img")" -eq 1474560 ]'
mcopy -i "$work/floppy.img" ::/HELP/KXMOUSE.HL_ "$work/from-floppy" 2>/dev/null
check "the image holds the medium's files" 'cmp -s "$work/from-floppy" "$work/medium/HELP/KXMOUSE.HL_"'

# [Checksums]: each file of the sample but the script, by its source name, with the
# size and CRC-32 (gzip's trailer holds zlib's) of what the medium's copy expands to.
sum_of() { printf '%s,%s' "$(stat -c %s "$1")" \
  "$(gzip -c < "$1" | tail -c 8 | od -An -tx4 -N4 | tr -d ' ' | tr a-f A-F)"; }
section() { tr -d '\r' < "$1" | sed -n '/^\[Checksums\]$/,/^\[/{/=/p}'; }
expected_sums() { local p; for p in $({ expected_files 1; expected_files 2; } | grep -vx SETUP.INF); do
  case $p in *_) msexpand < "$work/medium/$p" ;; *) cat "$work/medium/$p" ;; esac > "$work/x" 2>/dev/null
  echo "${p##*/}=$(sum_of "$work/x")"; done; }

mkdir -p "$work/big/DATA"
# Each package installs the script and an uninstaller into the destination from disk 1,
# as the check requires.
first='1=SETUP.INF,SETUP.INF,Script,RootDir\n2=UNINSTAL.EXE,UNINSTAL.EXE,Uninstaller,RootDir\n'
printf "[DirectoryName]\nRootDir=.\nSubDir1=DATA\n[DiskLabel]\nDisk1=a\n[FileCounts]\nDisk1=3\n[Disk1]\n${first}3=BIG.DAT,BIG.DAT,Big,SubDir1\n" > "$work/big/SETUP.INF"
printf 'uninstaller' > "$work/big/UNINSTAL.EXE"
head -c 1600000 /dev/urandom > "$work/big/DATA/BIG.DAT"
"$top/tools/make-medium.sh" "$setup" "$work/bigmedium" "$work/big.img" "$work/big" > "$work/big.txt" 2>&1
status=$?
check "a medium too big for a floppy is refused" '[ $status -eq 2 ] && [ ! -e "$work/big.img" ]'
check "and the user is told why" 'grep -q "does not fit on a 1.44 MB floppy" "$work/big.txt"'
# A plain file whose source name differs from its target name: the package holds it
# under the target name, the medium under the source name.
mkdir -p "$work/plain"
printf "[DirectoryName]\nRootDir=.\n[DiskLabel]\nDisk1=a\n[FileCounts]\nDisk1=3\n[Disk1]\n${first}3=READ.ME,README.TXT,Read me,RootDir\n" > "$work/plain/SETUP.INF"
printf 'read me' > "$work/plain/README.TXT"
printf 'uninstaller' > "$work/plain/UNINSTAL.EXE"
"$top/tools/make-medium.sh" "$setup" "$work/plainmedium" "" "$work/plain" > "$work/plain.txt" 2>&1
check "a plain file is copied from its target name to its source name" \
  'cmp -s "$work/plainmedium/READ.ME" "$work/plain/README.TXT"'
check "a script that lists itself is still the medium's CR LF copy" \
  'head -1 "$work/plainmedium/SETUP.INF" | grep -q $'"'"'\r$'"'"

# A package with an error: the findings are shown and nothing is written.
mkdir -p "$work/broken"
printf '[DirectoryName]\nRootDir=.\n[DiskLabel]\nDisk1=a\n[FileCounts]\nDisk1=1\n[Disk1]\n1=GONE.TXT,GONE.TXT,Gone,RootDir\n' > "$work/broken/SETUP.INF"
"$top/tools/make-medium.sh" "$setup" "$work/brokenmedium" "$work/broken.img" "$work/broken" > "$work/broken.txt" 2>&1
status=$?
check "a package with an error gets no medium" \
  '[ $status -ne 0 ] && [ ! -e "$work/brokenmedium" ] && [ ! -e "$work/broken.img" ]'
check "and the check's findings are shown" 'grep -q "^error: .*\[Disk1\] 1: .*GONE.TXT" "$work/broken.txt"'

# One image per disk of the sample: disk N's source files in their directories (image 1
# also SETUP.EXE and SETUP.INF), labelled with the disk's label cut to 11 characters.
inf=$top/sample/SETUP.INF
expected_files() {   # the source paths of disk $1 as the sample's script lists them
  tr -d '\r' < "$inf" | awk -v disk="disk$1" '
    /^\[/ { sec = tolower($0); gsub(/[][]/, "", sec); next }
    sec == "directoryname" && /=/ { split($0, kv, "="); dir[tolower(kv[1])] = kv[2] }
    sec == disk && /=/ { v = substr($0, index($0, "=") + 1); n = split(v, f, ",")
      gsub(/ /, "", f[1]); gsub(/ /, "", f[4]); want[++count] = f[1] "\t" tolower(f[4]) }
    END { for (i = 1; i <= count; i++) { split(want[i], w, "\t"); d = dir[w[2]]
      print toupper((d == "." || d == "" ? "" : d "/") w[1]) } }'
}
check "the medium's script has a checksum for each file but itself, the last section" \
  '[ "$(section "$work/medium/SETUP.INF")" = "$(expected_sums)" ] &&
   [ "$(tr -d "\r" < "$work/medium/SETUP.INF" | grep "^\[" | tail -1)" = "[Checksums]" ]'
image_files() { MTOOLS_NO_VFAT=1 mdir -/ -b -i "$1" :: | sed 's|^::/||' | grep -v '/$' | sort; }
label_of() { tr -d '\r' < "$inf" | sed -n "/^\[DiskLabel\]/,/^\[/s/^Disk$1=//p" | cut -c1-11; }
"$top/tools/make-medium.sh" --per-disk "$setup" "$work/pd" "$work/disk" "$package" > "$work/pd.txt" 2>&1
status=$?
check "--per-disk makes the sample's two images" \
  '[ $status -eq 0 ] && [ -f "$work/disk1.img" ] && [ -f "$work/disk2.img" ] && [ ! -e "$work/disk3.img" ]'
check "image 1 holds SETUP.EXE, SETUP.INF and disk 1's files" \
  '[ "$(image_files "$work/disk1.img")" = "$({ expected_files 1; echo SETUP.EXE; echo SETUP.INF; } | sort -u)" ]'
check "image 2 holds disk 2's files" \
  '[ "$(image_files "$work/disk2.img")" = "$(expected_files 2 | sort -u)" ]'
for n in 1 2; do
  check "image $n is labelled with disk $n's label cut to 11 characters" \
    'mlabel -s -i "$work/disk$n.img" :: | grep -q "Volume label is $(label_of $n)\( (\|$\)"'
done
mcopy -i "$work/disk2.img" ::/HELP/KXMOUSE.HL_ "$work/disk2-help" 2>/dev/null
check "an image's file is the medium's" 'cmp -s "$work/disk2-help" "$work/pd/HELP/KXMOUSE.HL_"'

# An mscompress that writes a damaged file: the read-back catches it, nothing is made.
mkdir -p "$work/shim"; printf '#!/bin/sh\n%s "$1" && printf Z | dd of="$1_" bs=1 seek=100 conv=notrunc 2>/dev/null\n' \
  "$(command -v mscompress)" > "$work/shim/mscompress"; chmod +x "$work/shim/mscompress"
PATH=$work/shim:$PATH "$top/tools/make-medium.sh" "$setup" "$work/badmedium" "" "$package" > "$work/bad.txt" 2>&1
status=$?
check "a compressed file that does not expand to its package file stops the medium" \
  '[ $status -eq 1 ] && [ ! -e "$work/badmedium" ] && grep -q "UNINSTAL.EX_ expands to .*, not to its package file" "$work/bad.txt"'
# A package script with the section already (the medium's, copied back), a file changed since.
cp -r "$package" "$work/again"; chmod -R u+w "$work/again"; cp "$work/medium/SETUP.INF" "$work/again/"
printf 'changed\r\n' >> "$work/again/README.TXT"
"$top/tools/make-medium.sh" "$setup" "$work/againmedium" "" "$work/again" > "$work/again.txt" 2>&1
status=$?
check "a stale section: a warning naming the file, and the medium's section made anew" \
  '[ $status -eq 0 ] && grep -q "^warning: .*\[Checksums\] README.TXT: README.TXT no longer matches" "$work/again.txt" &&
   [ "$(section "$work/againmedium/SETUP.INF" | grep README.TXT)" = "README.TXT=$(sum_of "$work/again/README.TXT")" ]'

# A disk that does not fit gets no image; the others do.
printf "[DirectoryName]\nRootDir=.\nSubDir1=DATA\n[DiskLabel]\nDisk1=a\nDisk2=b\n[FileCounts]\nDisk1=3\nDisk2=1\n[Disk1]\n${first}3=SMALL.DAT,SMALL.DAT,Small,RootDir\n[Disk2]\n1=BIG.DAT,BIG.DAT,Big,SubDir1\n" > "$work/big/SETUP.INF"
printf 'small' > "$work/big/SMALL.DAT"
"$top/tools/make-medium.sh" --per-disk "$setup" "$work/bigpd" "$work/bigdisk" "$work/big" > "$work/bigpd.txt" 2>&1
status=$?
check "--per-disk: a disk too big for a floppy gets no image, the others do" \
  '[ $status -eq 2 ] && [ -f "$work/bigdisk1.img" ] && [ ! -e "$work/bigdisk2.img" ]'
check "and it is reported with its size" 'grep -q "disk 2 ([0-9]* bytes) does not fit" "$work/bigpd.txt"'

# --iso: the sample's medium as a CD image, twice; and a name that is no level-1 name.
iso_files() { xorriso -rockridge off -indev "$1" -find / -type f 2>/dev/null | tr -d "'" | sed 's|^/||' | sort; }
(cd "$work" && "$top/tools/make-medium.sh" --iso cd1.iso "$setup" cd1 "$package") > "$work/iso.txt" 2>&1
status=$?
"$top/tools/make-medium.sh" --iso "$work/cd2.iso" "$setup" "$work/cd2" "$package" > /dev/null 2>&1
check "--iso: the image holds SETUP.EXE, SETUP.INF and every disk's files under their 8.3 names" \
  '[ $status -eq 0 ] && [ "$(iso_files "$work/cd1.iso")" = "$({ expected_files 1; expected_files 2; echo SETUP.EXE; echo SETUP.INF; } | sort -u)" ]'
check "its volume is disk 1's label as an identifier" \
  'xorriso -indev "$work/cd1.iso" -pvd_info 2>/dev/null | grep -qx "Volume Id    : ORVEL_WHEEL_MOUSE_DISK_1"'
check "the same package gives the same image byte for byte" 'cmp -s "$work/cd1.iso" "$work/cd2.iso"'
printf "[DirectoryName]\nRootDir=.\n[DiskLabel]\nDisk1=a\n[FileCounts]\nDisk1=3\n[Disk1]\n${first}3=LONGNAME1.TXT,LONG.TXT,Long,RootDir\n" > "$work/plain/SETUP.INF"
printf 'long' > "$work/plain/LONG.TXT"
"$top/tools/make-medium.sh" --iso "$work/long.iso" "$setup" "$work/longmedium" "$work/plain" > "$work/long.txt" 2>&1
status=$?
check "--iso: a name longer than 8.3 is named, and no image is written" \
  '[ $status -eq 2 ] && [ ! -e "$work/long.iso" ] && grep -q "LONGNAME1.TXT is no ISO 9660 level-1 name" "$work/long.txt"'

# --span on packages listed on one disk: the script, the uninstaller and files of
# zeros (stored as they are) of the sizes given, NAME:SIZE, in the medium's root.
span_package() {
  local n=2 file lines=""
  rm -rf "$work/sp" "$work/spm" "$work"/sp-*.img; mkdir -p "$work/sp"
  for file in "$@"; do
    truncate -s "${file#*:}" "$work/sp/${file%:*}"
    n=$((n + 1)) lines="$lines$n=${file%:*},${file%:*},Data,RootDir\n"
  done
  printf 'uninstaller' > "$work/sp/UNINSTAL.EXE"
  printf "[Main]\nProductName=Span\nMinimumSpace=30000\n[DiskLabel]\nDisk1=Span 1\n[DirectoryName]\nRootDir=.\n[FileCounts]\nDisk1=$n\n[Disk1]\n${first}$lines[Startup]\nTitle=Span\n" > "$work/sp/SETUP.INF"
}
span() { "$top/tools/make-medium.sh" --span "$@" "$setup" "$work/spm" "$work/sp-" "$work/sp" > "$work/sp.txt" 2>&1; }
# Files of 1400 KB take a disk each, none fits beside SETUP.EXE: disks 2 to 6 hold F1 to F5.
while IFS='|' read -r what files named; do
  span_package $files
  span; status=$?
  check "--span, $what: exit code 2, naming $named, and no image" \
    '[ $status -eq 2 ] && grep -q "$named" "$work/sp.txt" && ! ls "$work"/sp-*.img >/dev/null 2>&1'
done <<'CASES'
a file larger than a disk|A.DAT:1000 B.DAT:1441K C.DAT:1000|B.DAT.*larger than a disk
more than six disks|F1.DAT:1400K F2.DAT:1400K F3.DAT:1400K F4.DAT:1400K F5.DAT:1400K F6.DAT:1400K F7.DAT:1400K|more than 6 disks.*F6.DAT
CASES
# 720 KB disks: 112 root entries, one the volume label. Disk 1 holds SETUP.EXE, SETUP.INF,
# the uninstaller and as many of the 150 files as the root takes, disk 2 the rest.
span_package $(seq -f 'F%g.DAT:100' 150)
span --disk-kb 720; status=$?
listed() { mdir -/ -b -i "$1" :: | sed 's|^::/||' | sort; }
check "--span --disk-kb 720, more files than a root holds: two 720 KB images" \
  '[ $status -eq 0 ] && [ "$(stat -c %s "$work/sp-1.img")" -eq 737280 ] && [ -f "$work/sp-2.img" ] && [ ! -e "$work/sp-3.img" ]'
check "disk 1's root is full: 111 files beside the label, counted before mtools writes it" \
  '[ "$(listed "$work/sp-1.img" | wc -l)" -eq 111 ] && ! grep -q "mtools finds" "$work/sp.txt"'
check "every file on one disk, SETUP.EXE and SETUP.INF on disk 1" \
  '[ "$({ listed "$work/sp-1.img"; listed "$work/sp-2.img"; } | sort)" = "$(ls "$work/spm" | sort)" ] &&
   listed "$work/sp-1.img" | grep -qx SETUP.EXE && listed "$work/sp-1.img" | grep -qx SETUP.INF'

# --span on a package listed on two disks: the uninstaller fourth, a key beyond its
# count, labels for two disks, a product name too long for a label, other sections.
rm -rf "$work/sp" "$work"/sp-*.img; mkdir -p "$work/sp"
for f in A B C; do truncate -s 400000 "$work/sp/$f.DAT"; done
printf 'uninstaller' > "$work/sp/UNINSTAL.EXE"
product="Tallis Scroll Wheel Mouse Software Package"
printf '%s\r\n' '; kept as written' '[Main]' "ProductName=$product" 'MinimumSpace=2000' '' \
  '[DiskLabel]' 'Disk1=First' 'Disk2="Second"' '[DirectoryName]' 'RootDir=.' '[FileCounts]' 'Disk1=4' 'Disk2=1' \
  '[Disk1]' '1=SETUP.INF,SETUP.INF,Script,RootDir' '2=A.DAT,A.DAT,A,RootDir' '3=B.DAT,B.DAT,B,RootDir' \
  '4=UNINSTAL.EXE,UNINSTAL.EXE,Uninstaller,RootDir' '5=X.DAT,X.DAT,Beyond,RootDir' '' \
  '[Other]' 'Key = value ; as it was' '[Disk2]' '1=C.DAT,C.DAT,C,RootDir' '[Startup]' 'Title=Tallis' > "$work/sp/SETUP.INF"
span --disk-kb 720; status=$?
other_lines() {   # the script without [FileCounts], [DiskLabel] and [DiskN] sections
  tr -d '\r' < "$1" | awk '/^\[/ { s = tolower($0); skip = s ~ /^\[(filecounts|disklabel|disk[1-6]|checksums)\]$/ } !skip'
}
label() { bash "$top/tools/check-package.sh" --show "$work/spm/SETUP.INF" | sed -n "s/^DiskLabel $1: \"\(.*\)\"$/\1/p"; }
check "--span, two disks listed: three disks of 720 KB, [Disk1] 5 named as left out" \
  '[ $status -eq 0 ] && [ -f "$work/sp-3.img" ] && grep -q "left out.*\[Disk1\] 5" "$work/sp.txt"'
check "the uninstaller second on disk 1, after the script" \
  'tr -d "\r" < "$work/spm/SETUP.INF" | sed -n "/^\[Disk1\]/,/^\[/p" | sed -n 3p | grep -qx "2=UNINSTAL.EXE,.*"'
check "labels kept; a missing one the product name cut so that \" Disk 3\" stays within 39" \
  '[ "$(label 1)|$(label 2)|$(label 3)" = "First|Second|${product:0:32} Disk 3" ]'
check "the volume label of disk 3 keeps its number" \
  'mlabel -s -i "$work/sp-3.img" :: | grep -q "Volume label is .\{0,10\}3 *$"'
check "every other line of the script as it was" '[ "$(other_lines "$work/sp/SETUP.INF")" = "$(other_lines "$work/spm/SETUP.INF")" ]'
check "the spanned script has a checksum for each file it lays out" \
  '[ "$(section "$work/spm/SETUP.INF" | cut -d= -f1 | sort | tr "\n" " ")" = "A.DAT B.DAT C.DAT UNINSTAL.EXE " ]'
exit $fail
