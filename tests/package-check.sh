#!/usr/bin/env bash
# tools/check-package.sh on small packages made here: a sound one, then one fault at a
# time. Errors exit 1, warnings alone 0; every finding names the section and the key.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
package=${1:-$top/sample}   # the build lays the sample out with the UNINSTAL.EXE it built
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; cat "$work/out"; fi; }

# A sound two-disk package: the script, the uninstaller first, a file in a subdirectory.
sound() {
  rm -rf "$work/p"; mkdir -p "$work/p/DATA"
  printf 'uninstaller' > "$work/p/UNINSTAL.EXE"
  head -c 3000 /dev/zero > "$work/p/TINY.EXE"
  printf 'data' > "$work/p/DATA/TINY.DAT"
  cat > "$work/p/SETUP.INF" <<'EOF'
[Main]
ProductName=Tiny
MinimumSpace=100
[Startup]
Title=Tiny Tool
[DiskLabel]
Disk1=Tiny Disk 1
Disk2=Tiny Disk 2
[DirectoryName]
RootDir=.
SubDir1=DATA
[FileCounts]
Disk1=3
Disk2=1
[Disk1]
1=SETUP.INF,SETUP.INF,Setup script,RootDir
2=UNINSTAL.EX_,UNINSTAL.EXE,Uninstaller,RootDir
3=TINY.EX_,TINY.EXE,Program,RootDir
[Disk2]
1=TINY.DA_,TINY.DAT,Data,SubDir1
EOF
}
# Runs the check on the package; $status is its exit status, $work/out its findings.
run() { bash "$top/tools/check-package.sh" "$work/p" > "$work/out" 2>&1; status=$?; }
edit() { sed -i "$1" "$work/p/SETUP.INF"; }
has() { grep -q -- "$1" "$work/out"; }
only() { [ "$(grep -c . "$work/out")" -eq "$1" ]; }

sound; run
check "a sound package: no finding, exit 0" '[ $status -eq 0 ] && only 0'

sound; edit '/^Title=/d'; run
check "a package without a title is warned about: the uninstall list shows the product name" \
  '[ $status -eq 0 ] && has "^warning: .*\[Startup\] Title: missing: .*\"Tiny\"" && only 1'

sound; rm "$work/p/DATA/TINY.DAT"; run
check "a listed file the package lacks is an error naming its key and path" \
  '[ $status -eq 1 ] && has "^error: .*SETUP.INF: \[Disk2\] 1: .*p/DATA/TINY.DAT" && only 1'

sound; edit 's/Data,SubDir1/Data,SubDir9/'; run
check "an unknown directory keyword is an error" \
  '[ $status -eq 1 ] && has "^error: .*\[Disk2\] 1: .*SubDir9"'

# A subdirectory of several levels is made level by level; one that leads out of the
# destination is refused.
sound; mkdir -p "$work/p/DATA/WIN95"; mv "$work/p/DATA/TINY.DAT" "$work/p/DATA/WIN95/"
edit 's/^SubDir1=DATA/SubDir1=DATA\\WIN95/'; run
check "a SubDir of two levels: no finding" '[ $status -eq 0 ] && only 0'
for bad in '..\\DATA' 'C:\\DATA' '\\DATA'; do
  sound; edit "s/^SubDir1=DATA/SubDir1=$bad/"; run
  check "SubDir1=$bad is an error naming it" \
    '[ $status -eq 1 ] && has "^error: .*\[DirectoryName\] SubDir1: .*below the destination"'
done

sound; mv "$work/p/DATA/TINY.DAT" "$work/p/DATA/TINYDATAFILE.DAT"; edit 's/TINY.DAT,Data/TINYDATAFILE.DAT,Data/'; run
check "a target name longer than 14 characters is an error" \
  '[ $status -eq 1 ] && has "^error: .*\[Disk2\] 1: target name .*TINYDATAFILE.DAT.*14" && only 1'
sound; edit 's/^1=TINY.DA_/1=TINYDATAFIL.DA_/'; run
check "so is a source name of 15 characters" \
  '[ $status -eq 1 ] && has "^error: .*\[Disk2\] 1: source name .*TINYDATAFIL.DA_" && only 1'
long=DATA$(printf '%036d' 0)
sound; mv "$work/p/DATA" "$work/p/$long"; edit "s/^SubDir1=DATA/SubDir1=$long/"; run
check "and a directory name of 40 characters" \
  '[ $status -eq 1 ] && has "^error: .*\[DirectoryName\] SubDir1: .*39" && only 1'

sound; edit 's/^Disk1=3/Disk1=2/'; run
check "an entry beyond its disk's count is a warning: never installed" \
  '[ $status -eq 0 ] && has "^warning: .*\[Disk1\] 3: .*never installed"'
sound; edit 's/^Disk2=1/Disk2=3/'; run
check "a count beyond the entries present is a warning" \
  '[ $status -eq 0 ] && has "^warning: .*\[Disk2\] 2 to 3: " && only 1'
sound; edit 's/^Disk1=3/Disk1=30000/; s/^Disk2=1/Disk2=3000/'; run
check "counts adding up past 32767 fail the load: an error" \
  '[ $status -eq 1 ] && has "^error: .*\[FileCounts\]: .*32767"'
sound; edit 's/^Disk2=1/Disk2=65537/'; run
check "a count beyond 16 bits is a warning: it is taken as its low 16 bits" \
  '[ $status -eq 0 ] && has "^warning: .*\[FileCounts\] Disk2: 65537 .* 1 " && only 1'

sound; printf '2=TINY.EX_,TINY.EXE,Again,RootDir\n' >> "$work/p/SETUP.INF"; edit 's/^Disk2=1/Disk2=2/'; run
check "two entries with the same target are an error" \
  '[ $status -eq 1 ] && has "^error: .*\[Disk2\] 2: .*TINY.EXE.*\[Disk1\] 3" && only 1'

sound; edit 's/^MinimumSpace=100/MinimumSpace=70000/'; run
check "MinimumSpace beyond 32767 is a warning: it is held in 16 bits" \
  '[ $status -eq 0 ] && has "^warning: .*\[Main\] MinimumSpace: 70000" && only 1'
sound; edit 's/^MinimumSpace=100/MinimumSpace=40000/'; run
check "one held as a negative figure is an error: no drive could ever have room" \
  '[ $status -eq 1 ] && has "^error: .*\[Main\] MinimumSpace: 40000"'
sound; edit 's/^MinimumSpace=100/MinimumSpace=2/'; run
check "MinimumSpace below the package's expanded size is a warning" \
  '[ $status -eq 0 ] && has "^warning: .*\[Main\] MinimumSpace: 2 KB" && only 1'

sound; edit 's/^Disk2=Tiny Disk 2//; s/^Disk1=Tiny Disk 1/Disk1=Tiny Disk 1\nDisk3=Tiny Disk 3/'; run
check "a disk without a label is a warning" \
  '[ $status -eq 0 ] && has "^warning: .*\[DiskLabel\] Disk2: "'

sound; printf 'x' > "$work/p/DATA/EXTRA.TXT"; run
check "a file that the script does not install is a warning naming the file" \
  '[ $status -eq 0 ] && has "^warning: .*p/DATA/EXTRA.TXT: " && only 1'

sound; edit 's/^1=SETUP.INF/9=SETUP.INF/; s/^3=TINY/1=TINY/; s/^9=SETUP.INF/3=SETUP.INF/'; run
check "SETUP.INF not among the first two files of disk 1 is a warning" \
  '[ $status -eq 0 ] && has "^warning: .*\[Disk1\] 3: SETUP.INF" && only 1'
sound; edit 's/^2=UNINSTAL/9=UNINSTAL/; s/^3=TINY/2=TINY/; s/^9=UNINSTAL/3=UNINSTAL/'; run
check "so is UNINSTAL.EXE as disk 1's third file" \
  '[ $status -eq 0 ] && has "^warning: .*\[Disk1\] 3: UNINSTAL.EXE is file 3 of disk 1" && only 1'
sound; edit 's/^Disk1=3/Disk1=2/; s/^2=UNINSTAL.EX_.*/2=TINY.EX_,TINY.EXE,Program,RootDir/; /^3=TINY/d'
rm "$work/p/UNINSTAL.EXE"; run
check "a script whose disk 1 does not install UNINSTAL.EXE is an error" \
  '[ $status -eq 1 ] && has "^error: .*SETUP.INF: \[Disk1\]: UNINSTAL.EXE is not installed into the destination by disk 1" && only 1'
sound; edit 's/^Disk1=3/Disk1=2/; /^2=UNINSTAL/d; s/^3=TINY/2=TINY/; s/^Disk2=1/Disk2=2/'
printf '2=UNINSTAL.EX_,UNINSTAL.EXE,Uninstaller,RootDir\n' >> "$work/p/SETUP.INF"; run
check "so is one that installs it from disk 2, naming that entry" \
  '[ $status -eq 1 ] && has "^error: .*\[Disk1\]: UNINSTAL.EXE is not .*\[Disk2\] 2 installs it from disk 2" && only 1'
sound; edit 's/Uninstaller,RootDir/Uninstaller,SubDir1/'; mv "$work/p/UNINSTAL.EXE" "$work/p/DATA/"; run
check "or into SubDir1" \
  '[ $status -eq 1 ] && has "^error: .*\[Disk1\]: UNINSTAL.EXE is not .*\[Disk1\] 2 installs it into <destination>.DATA.UNINSTAL.EXE" && only 1'
sound; edit 's/Uninstaller,RootDir/Uninstaller,WinDir/'; run
check "or into the Windows directory" \
  '[ $status -eq 1 ] && has "^error: .*\[Disk1\]: UNINSTAL.EXE is not .*\[Disk1\] 2 installs it into C:.WINDOWS.UNINSTAL.EXE" && only 1'
sound; edit 's/^Disk1=3/Disk1=2/; /^1=SETUP.INF/d; s/^2=UNINSTAL/1=UNINSTAL/; s/^3=TINY/2=TINY/'; run
check "a script whose disk 1 does not install the script itself is an error" \
  '[ $status -eq 1 ] && has "^error: .*SETUP.INF: \[Disk1\]: SETUP.INF is not installed into the destination by disk 1" && only 1'

sound; edit 's/^RootDir=.$/RootDir=BIN/'; mkdir "$work/p/BIN"
mv "$work/p/UNINSTAL.EXE" "$work/p/TINY.EXE" "$work/p/BIN/"; cp "$work/p/SETUP.INF" "$work/p/BIN/"; run
check "a RootDir other than . is an error naming the value" \
  '[ $status -eq 1 ] && has "^error: .*SETUP.INF: \[DirectoryName\] RootDir: \"BIN\" is not \".\"" && only 1'
sound; edit '/^RootDir=/d'; run
check "a missing RootDir is the destination itself, as .: no finding" '[ $status -eq 0 ] && only 0'

# [Checksums] in the package's script, as a medium's script has it: each value held
# against its file (TINY.EXE: 3000 zero bytes, CRC-32 of zlib's crc32()).
sound; printf '[Checksums]\nTINY.EX_=3000,DA865B0D\nTINY.DA_=4,%s\n' \
  "$(printf data | gzip -c | tail -c 8 | od -An -tx4 -N4 | tr -d ' ' | tr a-f A-F)" >> "$work/p/SETUP.INF"; run
check "checksums that match their files: no finding" '[ $status -eq 0 ] && only 0'
printf 'DATA' > "$work/p/DATA/TINY.DAT"; run
check "a file changed since its checksum was written is an error naming it" \
  '[ $status -eq 1 ] && has "^error: .*\[Checksums\] TINY.DA_: DATA/TINY.DAT no longer matches it" && only 1'
edit 's/^TINY.EX_=.*/TINY.EX_=3000/'; printf 'data' > "$work/p/DATA/TINY.DAT"; run
check "a value that is no size and CRC-32 is an error" \
  '[ $status -eq 1 ] && has "^error: .*\[Checksums\] TINY.EX_: \"3000\" is not a size and a CRC-32" && only 1'

# The bundled sample, with the uninstaller the build made: no finding at all.
bash "$top/tools/check-package.sh" "$package" > "$work/out" 2>&1
status=$?
check "the sample passes the check" '[ $status -eq 0 ] && [ ! -s "$work/out" ]'
exit $fail
