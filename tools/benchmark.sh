#!/usr/bin/env bash
# Measures SETUP.EXE against minimal programs under one Wine prefix (build/bench):
#   benchmark.sh
#  - copy: a generated package of 300 LZ-compressed files (about 18 MB expanded)
#    installed by SETUP.EXE, against a plain LZCopy loop over the same files, a plain
#    loop that expands them in the blocks setup expands a file in (lzloop --blocks),
#    and two NSIS 3 installers of the same files built here by makensis (Debian's
#    nsis package), one compressed with zlib, one with LZMA, installed silently;
#  - replace: SETUP.EXE -s run again over its own files (the uninstall entry taken
#    away first, as after a failed run), against a loop that replaces each file as
#    setup does and does nothing more (lzloop --replace: a temporary file, the old file
#    aside, the new one in, the old one deleted);
#  - start: launch to the welcome page (backdrop painted, banners dissolved) at
#    1024x768, against a program that shows one message box.
# The measures compared run side by side in each round, and in turn first. Prints the
# times, the ratios of their medians and the median of each round's own ratio. Not a
# test: the figures vary with the machine.
# Installs the Debian packages it needs (nsis too). Deletes and remakes build/bench.
# Exit codes: 0 measured; non-zero when a build or a run failed.
. "$(dirname "$0")/usage.sh"
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
if ! command -v makensis >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  # An index that fails to come (a mirror mid-sync) leaves the install to say.
  $SUDO apt-get install -y -qq --no-install-recommends nsis >/dev/null ||
    { $SUDO apt-get update -qq || true; $SUDO apt-get install -y -qq --no-install-recommends nsis >/dev/null; }
fi
. tools/wine-width.sh
width=$(wine_width)
out=build
if [ "$width" = win64 ]; then
  echo "This machine cannot execute i386 code: measuring the 64-bit twin (build/x64)."
  out=build/x64
  cmake -S . -B $out -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" >/dev/null
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build $out -j2 --target SETUP UNINSTAL autopilot lzloop launchtime onedialog >/dev/null

bench=$PWD/build/bench
rm -rf "$bench"; mkdir -p "$bench/package/DATA"
files=300
echo "Generating $files package files"
{
  printf '[Main]\r\nProductName=Orvel\r\nMinimumSpace=0\r\nDefaultPath=C:\\BENCH\r\n'
  printf '[DirectoryName]\r\nRootDir=.\r\nSubDir1=DATA\r\n'
  printf '[DiskLabel]\r\nDisk1=One\r\nDisk2=Two\r\nDisk3=Three\r\n'
  printf '[FileCounts]\r\nDisk1=102\r\nDisk2=100\r\nDisk3=100\r\n'
  for d in 1 2 3; do
    printf '[Disk%d]\r\n' $d
    first=0
    if [ $d = 1 ]; then   # the script and the uninstaller first, as the package check requires
      printf '1=SETUP.INF, SETUP.INF, Setup script, RootDir\r\n2=UNINSTAL.EX_, UNINSTAL.EXE, Uninstaller, RootDir\r\n'
      first=2
    fi
    for k in $(seq 1 100); do
      i=$(( (d - 1) * 100 + k ))
      printf '%d=F%d.BI_, F%d.BIN, Data file %d, SubDir1\r\n' $((first + k)) $i $i $i
    done
  done
} > "$bench/package/SETUP.INF"
cp $out/UNINSTAL.EXE "$bench/package/"
for i in $(seq 1 $files); do
  { head -c 30000 /dev/urandom; seq $i $((i + 6500)); } > "$bench/package/DATA/F$i.BIN"
done
expanded=$(du -sb "$bench/package/DATA" | cut -f1)
tools/make-medium.sh $out/SETUP.EXE "$bench/medium" "" "$bench/package"
# The NSIS peers: ANSI installers (as Windows 98 needs) of the same files.
for compressor in zlib lzma; do
  cat > "$bench/nsis-$compressor.nsi" <<NSI
Unicode false
SetCompressor $compressor
Name "Orvel"
OutFile "$bench/nsis-$compressor.exe"
InstallDir "C:\\NSIS"
RequestExecutionLevel user
SilentInstall silent
Section
  SetOutPath "\$INSTDIR\\DATA"
  File "$bench/package/DATA/*.BIN"
SectionEnd
NSI
  makensis -V1 "$bench/nsis-$compressor.nsi"
done

use_wine "$width" "$bench/bin"
export WINEPREFIX=$bench/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
n=140; while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!; trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
export DISPLAY=":$n"; sleep 1
wine wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
(cd tools && wine reg import win98-colors.reg >/dev/null 2>&1)   # Windows 98's colours
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wineserver -k; wineserver -w
c=$WINEPREFIX/drive_c
cp -r "$bench/medium" "$c/MEDIUM"
cp $out/autopilot.exe $out/lzloop.exe $out/launchtime.exe $out/onedialog.exe "$c/"
cp "$bench"/nsis-*.exe "$c/"
wine cmd /c exit >/dev/null 2>&1
cat "$c"/MEDIUM/DATA/* "$c"/nsis-*.exe > /dev/null   # every run reads from the page cache

# The time from the first to the last expanded file, by the files' change times.
stat_ctime() { for f in "$@"; do stat -c '%.9Z' "$f"; done | sort -n | awk 'NR==1{a=$1} {b=$1} END{printf "%.0f", (b-a)*1000}'; }

median() { sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }
# The spread of a file of times, in per cent of their median: of all of them
# ((largest - smallest) / median), and of their middle half ((upper - lower quartile) /
# median), which a single disturbed round does not move.
spread() { sort -n "$1" | awk '{v[NR]=$1} END{m=v[int((NR+1)/2)]; printf "%.0f", m ? (v[NR]-v[1])*100/m : 0}'; }
middle() { sort -n "$1" | awk '{v[NR]=$1} END{m=v[int((NR+1)/2)]; printf "%.0f", m ? (v[int((3*NR+3)/4)]-v[int((NR+3)/4)])*100/m : 0}'; }
for i in $(seq 1 $files); do printf 'C:\\MEDIUM\\DATA\\F%d.BI_\tC:\\LOOP\\F%d.BIN\r\n' $i $i; done > "$c/list.txt"
sed 's/LOOP/LOOPB/' "$c/list.txt" > "$c/listb.txt"
measures="setup loop loop-blocks nsis-zlib nsis-lzma setup-replace loop-replace"
for m in $measures; do : > "$bench/$m.ms"; done
# Each measure of a round, by its name; the time goes to build/bench/NAME.ms.
measure() {
  case $1 in
  setup)
    wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v ZennoMouse /f >/dev/null 2>&1 || true
    (cd "$c/MEDIUM" && wine 'C:\autopilot.exe' --restart later > "$bench/autopilot.log" 2>&1) &
    pilot=$!
    (cd "$c/MEDIUM" && wine 'C:\MEDIUM\SETUP.EXE' >/dev/null 2>&1)
    wait $pilot
    stat_ctime "$c"/BENCH/DATA/* ;;
  setup-replace)   # over what setup installed
    wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZennoMouse' /f >/dev/null 2>&1 || true
    wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v ZennoMouse /f >/dev/null 2>&1 || true
    (cd "$c/MEDIUM" && wine 'C:\MEDIUM\SETUP.EXE' -s -d 'C:\BENCH' >/dev/null 2>&1)
    stat_ctime "$c"/BENCH/DATA/* ;;
  loop)
    wine 'C:\lzloop.exe' 'C:\list.txt' >/dev/null 2>&1
    stat_ctime "$c"/LOOP/* ;;
  loop-blocks)     # into LOOPB
    wine 'C:\lzloop.exe' --blocks 'C:\listb.txt' >/dev/null 2>&1
    stat_ctime "$c"/LOOPB/* ;;
  loop-replace)    # over what the loop expanded
    wine 'C:\lzloop.exe' --replace 'C:\list.txt' >/dev/null 2>&1
    stat_ctime "$c"/LOOP/* ;;
  nsis-zlib)
    wine 'C:\nsis-zlib.exe' /S '/D=C:\NSISZ' >/dev/null 2>&1
    stat_ctime "$c"/NSISZ/DATA/* ;;
  nsis-lzma)
    wine 'C:\nsis-lzma.exe' /S '/D=C:\NSISL' >/dev/null 2>&1
    stat_ctime "$c"/NSISL/DATA/* ;;
  esac >> "$bench/$1.ms"
  echo >> "$bench/$1.ms"
}
# The measures compared side by side run next to each other, and in turn first: this
# machine's speed drifts from round to round, which a fixed order would lay on one of them.
round() {
  echo "Round $1: the loops, SETUP.EXE, NSIS with zlib, replacing, NSIS with LZMA"
  # the last round's installation taken away as its user would, so that each round
  # meets the same machine (not the registrations and the carried-on log of all before)
  if [ -f "$c/BENCH/UNINSTAL.EXE" ]; then
    (cd "$c/BENCH" && wine 'C:\BENCH\UNINSTAL.EXE' -s >/dev/null 2>&1) || true
  fi
  rm -rf "$c/BENCH" "$c/LOOP" "$c/LOOPB" "$c/NSISZ" "$c/NSISL"; mkdir -p "$c/LOOP" "$c/LOOPB"
  # SETUP.EXE between the LZCopy loop and NSIS zlib, next to both
  if [ $(($1 % 2)) = 1 ]; then order="loop setup nsis-zlib loop-blocks setup-replace loop-replace nsis-lzma"
  else order="loop-blocks nsis-zlib setup loop loop-replace setup-replace nsis-lzma"; fi
  for m in $order; do measure $m; done
}
# Five rounds, and more (up to eleven) while a measure's middle half spreads over
# more than 15% of its median.
rounds=0
while :; do
  rounds=$((rounds + 1)); round $rounds
  [ $rounds -ge 5 ] || continue
  wide=0; for m in $measures; do if [ "$(middle "$bench/$m.ms")" -gt 15 ]; then wide=1; fi; done
  [ $wide = 1 ] && [ $rounds -lt 11 ] || break
done
ms_setup=$(median < "$bench/setup.ms"); ms_loop=$(median < "$bench/loop.ms")
ms_loop_blocks=$(median < "$bench/loop-blocks.ms")
ms_nsis_zlib=$(median < "$bench/nsis-zlib.ms"); ms_nsis_lzma=$(median < "$bench/nsis-lzma.ms")
ms_setup_replace=$(median < "$bench/setup-replace.ms"); ms_loop_replace=$(median < "$bench/loop-replace.ms")
installed=$(ls "$c/BENCH/DATA" | wc -l)
peers="$(ls "$c/NSISZ/DATA" | wc -l) and $(ls "$c/NSISL/DATA" | wc -l)"
same=$(cd "$c" && for i in 1 150 300; do cmp -s "BENCH/DATA/F$i.BIN" "LOOP/F$i.BIN" && cmp -s "BENCH/DATA/F$i.BIN" "LOOPB/F$i.BIN" && cmp -s "BENCH/DATA/F$i.BIN" "NSISZ/DATA/F$i.BIN" && cmp -s "BENCH/DATA/F$i.BIN" "NSISL/DATA/F$i.BIN" && echo same; done | wc -l)

echo "Measuring start times"
wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v ZennoMouse /f >/dev/null 2>&1 || true
setup_start=$(for _ in 1 2 3 4 5; do (cd "$c/MEDIUM" && wine 'C:\launchtime.exe' SETUP_BEGIN 'C:\MEDIUM\SETUP.EXE' | tr -d '\r'); done | median)
dialog_start=$(for _ in 1 2 3 4 5; do wine 'C:\launchtime.exe' '#32770' 'C:\onedialog.exe' | tr -d '\r'; done | median)

echo
echo "== Benchmark ($(nproc) cores, $(date -u +%Y-%m-%d))"
echo "copy:  $files files, $((expanded / 1048576)) MB expanded; SETUP.EXE installed $installed, the NSIS installers $peers;"
echo "       the same content in ${same} of 3 files compared across all four"
echo "       first to last file by the files' change times, median of $rounds rounds; spread of all rounds"
echo "       ((max - min) / median) and of their middle half ((upper - lower quartile) / median):"
row() { printf '       %-24s %6s ms   spread %3s%%, middle half %3s%%   rounds: %s\n' "$1" "$2" \
          "$(spread "$bench/$3.ms")" "$(middle "$bench/$3.ms")" "$(tr '\n' ' ' < "$bench/$3.ms")"; }
row "SETUP.EXE" "$ms_setup" setup
row "LZCopy loop" "$ms_loop" loop
row "loop in setup's blocks" "$ms_loop_blocks" loop-blocks
row "NSIS zlib" "$ms_nsis_zlib" nsis-zlib
row "NSIS LZMA" "$ms_nsis_lzma" nsis-lzma
row "SETUP.EXE -s, replacing" "$ms_setup_replace" setup-replace
row "replacing loop" "$ms_loop_replace" loop-replace
awk -v a="$ms_setup" -v b="$ms_loop" -v z="$ms_nsis_zlib" -v l="$ms_nsis_lzma" \
    -v r="$ms_setup_replace" -v t="$ms_loop_replace" -v k="$ms_loop_blocks" \
  'BEGIN{printf "       SETUP.EXE / loop %.2f, / NSIS zlib %.2f, / NSIS LZMA %.2f (target: at most 1.20 to the\n", a / b, a / z, a / l
         printf "       loop and NSIS zlib); replacing: SETUP.EXE / replacing loop %.2f (target: at most 1.20);\n", r / t
         printf "       SETUP.EXE / the loop in its blocks %.2f\n", a / k}'
# The same ratios taken in each round, where both ran side by side, and their median.
round_ratio() { paste "$bench/$1.ms" "$bench/$2.ms" | awk '$2 > 0 {printf "%.3f\n", $1 / $2}' | median; }
echo "       median of the rounds' own ratios: SETUP.EXE / loop $(round_ratio setup loop)," \
     "/ NSIS zlib $(round_ratio setup nsis-zlib), replacing $(round_ratio setup-replace loop-replace)," \
     "/ loop in its blocks $(round_ratio setup loop-blocks)"
echo "start: SETUP.EXE to its welcome page ${setup_start} ms, one message box ${dialog_start} ms (medians of 5)"
awk -v a="$setup_start" -v b="$dialog_start" 'BEGIN{printf "       ratio %.1f\n", a / b}'
