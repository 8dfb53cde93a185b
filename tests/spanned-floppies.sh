#!/usr/bin/env bash
# make-medium.sh --span and run-setup.sh --floppies --span: a package of 3.3 MB that does
# not compress, listed on one disk, laid out over 1.44 MB floppies; then installed on
# autopilot across them and uninstalled.
#   spanned-floppies.sh BUILD_DIR
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
work=$build/spanned pkg=$build/spanned/pkg
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi; }
rm -rf "$work"; mkdir -p "$pkg/DATA" "$pkg/SYSTEM"
lines=()
for n in $(seq 36); do   # every other one compressed: an eighth larger as stored
  head -c 90000 /dev/urandom > "$pkg/DATA/PART$n.DAT"
  source=PART$n.DAT; [ $((n % 2)) = 0 ] && source=PART$n.DA_
  lines+=("$((n + 3))=$source, PART$n.DAT, Part $n, SubDir1")
done
head -c 30000 /dev/urandom > "$pkg/TMAIN.EXE"
head -c 9000 /dev/urandom > "$pkg/SYSTEM/TWHEEL.VXD"
printf '%s\r\n' '[Main]' 'ProductName=Tallis' 'DefaultPath=C:\TALLIS' 'MinimumSpace=4000' \
  '[DiskLabel]' 'Disk1=Tallis Setup' '[DirectoryName]' 'RootDir=.' 'SubDir1=DATA' 'WinSystemDir=SYSTEM' \
  '[FileCounts]' 'Disk1=40' '[Disk1]' '1=SETUP.INF, SETUP.INF, Setup script, RootDir' \
  '2=UNINSTAL.EX_, UNINSTAL.EXE, Uninstaller, RootDir' '3=TMAIN.EX_, TMAIN.EXE, Program, RootDir' \
  "${lines[@]}" '40=TWHEEL.VX_, TWHEEL.VXD, Driver, WinSystemDir' \
  '[Startup]' 'Title=Tallis Scroll Wheel' 'Mfg=Tallis' > "$pkg/SETUP.INF"

# The package as make-medium.sh takes it, with the uninstaller; run-setup.sh adds the one
# built for this machine's Wine to a copy of the package itself.
full=$work/full
cp -r "$pkg" "$full"; cp "$build/UNINSTAL.EXE" "$full/"
span() { bash "$top/tools/make-medium.sh" --span "$build/SETUP.EXE" "$work/$1" "$work/$1-" "$full"; }
span medium > "$work/span.txt" 2>&1
status=$?
cat "$work/span.txt"
disks=$(ls "$work"/medium-*.img 2>/dev/null | wc -l)
every_disk() { local n; for n in $(seq "${first_disk:-1}" $disks); do "$@" $n || return 1; done; }
is_floppy() { [ "$(stat -c %s "$work/medium-$1.img")" -eq 1474560 ] && mdir -i "$work/medium-$1.img" :: >/dev/null; }
check "three images or more, each a 1.44 MB floppy that mtools reads" \
  '[ $status -eq 0 ] && [ $disks -ge 3 ] && every_disk is_floppy'
# The entries as loaded: "disk<TAB>source path" (the written script's) or without the disk.
entries() {
  bash "$top/tools/check-package.sh" --show "$1" | tr -d '"' |
    sed -n 's/^File \([0-9]\)\.[0-9]* source: \.\?|\?\(.*\)$/\1\t\2/p' | tr '|\\' '//'
}
entries "$work/medium/SETUP.INF" > "$work/written.txt"
check "the written script loads the same entries in the same order" \
  '[ "$(cut -f2 "$work/written.txt")" = "$(entries "$full/SETUP.INF" | cut -f2)" ]'
on_image() { MTOOLS_NO_VFAT=1 mdir -/ -b -i "$work/medium-$1.img" :: | sed 's|^::/||' | tr a-z A-Z; }
only_on_its_disk() {
  local disk path
  while IFS=$'\t' read -r disk path; do
    [ "$(for n in $(seq $disks); do on_image $n | grep -qx "${path^^}" && echo $n; done)" = "$disk" ] || return 1
  done < "$work/written.txt"
}
check "each entry on its disk's image and on no other" only_on_its_disk
check "SETUP.EXE and the written script on disk 1" \
  'on_image 1 | grep -qx SETUP.EXE && mtype -i "$work/medium-1.img" ::/SETUP.INF | cmp -s - "$work/medium/SETUP.INF"'
# Disk $1 (from 2) begins with a file that the disk before has no room for.
begins_with_no_room() {
  local next free
  next=$(awk -F'\t' -v n="$1" '$1 == n { print $2; exit }' "$work/written.txt")
  free=$(mdir -i "$work/medium-$(($1 - 1)).img" :: | sed -n 's/ bytes free//p' | tr -d ' ')
  [ "$(stat -c %s "$work/medium/$next")" -gt "$free" ]
}
check "each disk filled: too full for the next one's first file, counted before mtools writes it" \
  'first_disk=2 every_disk begins_with_no_room && ! grep -q "mtools finds" "$work/span.txt"'
cp -r "$full" "$work/checked"; cp "$work/medium/SETUP.INF" "$work/checked/"
check "the checker finds nothing in the package with the written script" \
  '[ -z "$(bash "$top/tools/check-package.sh" "$work/checked" 2>&1)" ]'
sleep 1; touch "$full"/DATA/*
span again > /dev/null 2>&1
same_again() { cmp "$work/medium-$1.img" "$work/again-$1.img"; }
check "a second run gives the same images, byte for byte" 'every_disk same_again'

run=$work/run log=$work/run.log
RUN_DIR=$run bash "$top/tools/run-setup.sh" --package "$pkg" --floppies --span --uninstall --win98 > "$log" 2>&1
status=$?
sed 's/^/  | /' "$log"
check "the run installs across the floppies and uninstalls as expected" '[ $status -eq 0 ]'
check "setup asked for every disk after the first, in order, by its label" \
  '[ "$(sed -n "s/^  '"'"'\(.*\)'"'"': disk \([0-9]\) put in A:.*/\2 \1/p" "$log")" = \
     "$(for n in $(seq 2 $disks); do echo "$n Tallis Disk $n"; done)" ]'
# Each file of the package in the list of files installed, with its size.
installed_whole() {
  local installed f at
  installed=$(sed -n '/^== Files installed/,/^$/p' "$run/report.txt")
  for f in $(cd "$run/package" && find . -type f ! -name SETUP.INF | sed 's|^\./||'); do
    at=TALLIS/$f; [ "${f%%/*}" = SYSTEM ] && at=windows/system/${f#*/}
    grep -qx "  C:/$at  $(stat -c %s "$run/package/$f") bytes" <<<"$installed" ||
      { echo "  not installed whole: C:/$at"; return 1; }
  done
}
check "every file of the package installed whole" installed_whole
check "the uninstaller ended with exit code 0" \
  'sed -n "/^== The uninstall entry/,/^$/p" "$log" | grep -q "exit code 0"'
exit $fail
