#!/usr/bin/env bash
# Builds everything, lays out the medium of a package (default: the sample) and its
# floppy images, makes a fresh Windows 98 Wine prefix in build/run and runs SETUP.EXE
# from the medium as drive A:.
#   run-setup.sh [--package DIR] [--ps2|--serial] [--driver-only|--silent]
#                [--floppies [--span] | --cd] [--uninstall] [--win98]
# --package DIR installs the package directory DIR (SETUP.INF and the package's files,
# as for make-medium.sh) instead of the sample (build/package, as the build lays it out).
# DIR is checked first (tools/check-package.sh, run by make-medium.sh): with an error the
# run stops with the checker's findings. Its medium is made in RUN_DIR/medium. DIR itself
# is never changed: one without UNINSTAL.EXE (its authors do not build it) is copied to
# RUN_DIR/package with the built UNINSTAL.EXE added beside SETUP.INF, and that is run.
# With a display, SETUP.EXE runs in a Wine virtual desktop of 800x600 for you to use.
# Without one, it runs on a private Xvfb display on autopilot (the mouse type as asked,
# the script's default destination, "restart later"), saves a screenshot of the backdrop
# and of each page in RUN_DIR/shots, and prints a report of what was installed (kept
# in RUN_DIR/report.txt too).
# Without a display every program the run starts (SETUP.EXE, the uninstaller) is started
# and watched by the autopilot and has RUN_TIME_LIMIT seconds to end. When the limit
# passes, or SETUP.EXE shows a window the autopilot does not know (the uninstaller and
# SETUP.EXE -s none at all), the program is ended, the caption and text of its windows
# are printed, a screenshot of them is kept (RUN_DIR/shots/9-stopped-SETUP.png or
# 9-stopped-UNINSTAL.png) and the run ends there.
# With --floppies, the package is installed from one floppy image per disk: A: holds
# image 1's files, and when SETUP.EXE asks for a disk, the files of that disk's image
# are put in A: in their place and the prompt is answered with Retry (on autopilot, or
# for you when you walk the pages yourself); the report lists the disks and the prompts
# answered. With --floppies --span, the disks are the ones make-medium.sh --span lays
# the package out on (as many 1.44 MB floppies as it needs, the script written anew for
# them) instead of the script's own.
# With --cd, the package's medium is made as a CD image (make-medium.sh --iso,
# RUN_DIR/medium.iso) and SETUP.EXE runs from it as D:, a CD-ROM drive whose files are
# read-only: the image's tree as xorriso reads it out; the report names the image.
# --silent runs SETUP.EXE -s (with -ps2 or -serial as asked): the unattended install,
# without a window, with -l C:\setup-report.txt; the report follows with SETUP.EXE's own
# run report (what it made and wrote, what failed) and its exit code (0 installed, 1
# refused, 2 failed or incomplete, 3 a usage error, 4 the script cannot be read), which
# is also this script's exit code. It needs the whole medium in A:, so not --floppies.
# --uninstall ends the run with the command of the uninstall entry setup registered
# (with -s -l when headless); the report then shows what it removed, what it left because
# someone changed it since (its LEFT lines), and the registry after.
# --win98 runs the programs under the Windows 95/98 answers of the test rig (tests/win98):
# copies of SETUP.EXE and UNINSTAL.EXE whose imports name W9X.DLL, which answers as
# Windows 95/98 do where Wine answers as NT (one registry handle per key, FAT's local
# times, the profile cache, the critical-error box of a drive without its disk); A: has
# no disk in it while a disk is changed. The report ends with what W9X.LOG holds: what
# the programs met that Windows 95/98 would not have let pass (nothing, on a good run).
# RUN_DIR: where the run goes (default build/run; deleted and made anew each run).
# RUN_TIME_LIMIT: the seconds each program has to end without a display (default 180).
# DISPLAY: set, SETUP.EXE runs on it for you; unset, on autopilot on a private Xvfb.
# Exit codes: 0 the run went as expected; 1 the build, the package (the checker's
# errors), its medium or the prefix failed; 2 a usage error; 5 SETUP.EXE, the autopilot
# or the uninstaller did not end as expected (stopped at the time limit or at a window
# the autopilot does not know, a walk not done, an exit code other than 0): the output
# says which. With --silent, SETUP.EXE's exit code when it ended by itself and was not
# 0, else as above. With a display, 0 once the run is over.
. "$(dirname "$0")/usage.sh"
set -eu
trap 'exit 1' ERR   # a step before SETUP.EXE runs (build, package, prefix) failed
mouse=""; args=""; floppies=0; span=0; uninstall=0; silent=0; package_arg=""; win98=0; cd=0
usage="usage: $0 [--package DIR] [--ps2|--serial] [--driver-only|--silent] [--floppies [--span] | --cd] [--uninstall] [--win98]"
while [ $# -gt 0 ]; do
  case $1 in
    --package) [ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }
               package_arg=$2; shift ;;
    --ps2|--serial) mouse=$1 ;;
    --driver-only) args=-u ;;
    --silent) silent=1 ;;
    --floppies) floppies=1 ;;
    --span) span=1 ;;
    --cd) cd=1 ;;
    --uninstall) uninstall=1 ;;
    --win98) win98=1 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
  shift
done
if [ -n "$package_arg" ]; then
  [ -f "$package_arg/SETUP.INF" ] ||
    { echo "run-setup: $package_arg is no package directory: it has no SETUP.INF" >&2; exit 2; }
  package_arg=$(cd "$package_arg" && pwd)
fi
limit=${RUN_TIME_LIMIT:-180}
case $limit in
  ''|*[!0-9]*|0*) echo "run-setup: RUN_TIME_LIMIT is a number of seconds, not '$limit'" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
if [ $span = 1 ] && [ $floppies = 0 ]; then
  echo "--span goes with --floppies" >&2; exit 2
fi
if [ $cd = 1 ] && [ $floppies = 1 ]; then
  echo "--cd goes without --floppies: the CD holds every disk" >&2; exit 2
fi
drive=A:; [ $cd = 1 ] && drive=D:
if [ $uninstall = 1 ] && [ -n "$args" ]; then
  echo "--uninstall needs a full installation, not --driver-only" >&2; exit 2
fi
if [ $silent = 1 ]; then
  [ -z "$args" ] && [ $floppies = 0 ] || { echo "--silent goes with neither --driver-only nor --floppies" >&2; exit 2; }
  args="-s${mouse:+ ${mouse#-}} -l C:\\setup-report.txt"
fi
bash tools/install-deps.sh
. tools/wine-width.sh
width=$(wine_width)
cmake -S . -B build -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
targets="SETUP UNINSTAL autopilot regexport4 medium"
[ $win98 = 1 ] && targets="$targets win98"
cmake --build build -j2 --target $targets
out=build
if [ "$width" = win64 ]; then
  echo "This machine cannot execute i386 code: running the 64-bit twin of SETUP.EXE"
  echo "(the same sources, build/x64) under the 64-bit Wine."
  out=build/x64
  cmake -S . -B $out -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  cmake --build $out -j2 --target $targets
fi
setup_exe=$out/SETUP.EXE
[ $win98 = 1 ] && setup_exe=$out/win98/SETUP.EXE

run=${RUN_DIR:-$PWD/build/run}
case $run in /*) ;; *) run=$PWD/$run ;; esac
[ ! -d "$run" ] || chmod -R u+w "$run"   # a CD's tree is read-only
rm -rf "$run"; mkdir -p "$run/shots"

# The package and its medium: the sample's, which the build lays out and makes; or
# DIR's, made here by make-medium.sh, which checks the package first and stops at an
# error, showing the checker's findings.
if [ -z "$package_arg" ] && [ $win98 = 1 ]; then
  package=$PWD/$out/win98/package medium=$PWD/$out/win98/medium
elif [ -z "$package_arg" ]; then
  package=$PWD/$out/package medium=$PWD/$out/medium
else
  package=$package_arg medium=$run/medium
  if [ -z "$(find "$package" -maxdepth 1 -iname UNINSTAL.EXE)" ]; then
    cp -r "$package" "$run/package"
    cp $out/UNINSTAL.EXE "$run/package/UNINSTAL.EXE"
    echo "$package has no UNINSTAL.EXE: running on a copy of it, $run/package, with the"
    echo "built one ($out/UNINSTAL.EXE) added beside SETUP.INF"
    package=$run/package
  fi
  if [ $win98 = 1 ]; then   # its uninstaller under the same answers
    [ "$package" = "$run/package" ] || { cp -r "$package" "$run/package"; package=$run/package; }
    u=$(find "$package" -maxdepth 1 -iname UNINSTAL.EXE | head -1)
    "$out/win98/patch_imports" "$u" "$u.w98" && mv "$u.w98" "$u"
  fi
fi
# make-medium.sh's findings name DIR, also when they are about its copy.
make_medium() {
  bash tools/make-medium.sh "$@" 2>&1 | sed "s|$run/package|$package_arg|g"
  return "${PIPESTATUS[0]}"
}
made=0
if [ $cd = 1 ]; then
  medium=$run/medium
  make_medium --iso "$run/medium.iso" $setup_exe "$medium" "$package" || made=$?
elif [ $span = 1 ]; then
  make_medium --span $setup_exe "$run/medium" "$run/disk" "$package" || made=$?
elif [ $floppies = 1 ]; then
  make_medium --per-disk $setup_exe "$run/medium" "$run/disk" "$package" || made=$?
elif [ -n "$package_arg" ]; then
  make_medium $setup_exe "$medium" "" "$package" || made=$?
fi
if [ $made != 0 ]; then
  echo "run-setup: no medium could be made of ${package_arg:-$package} (above); nothing was run" >&2
  exit 1
fi
if [ $span = 1 ]; then   # the disks of the script written for them
  bash tools/check-package.sh --show "$run/medium/SETUP.INF" |
    sed -n 's/^DiskLabel \([0-9]\): "\(..*\)"$/disk\t\1\t\2/p' > "$run/disks.list"
else
  bash tools/check-package.sh --list "$run/disks.list" "$package" >/dev/null
fi
# The product's name names the Wine desktop (a window title, with a display): its
# letters and digits, as the desktop's name ends at a blank or a comma.
product=$(bash tools/check-package.sh --show "$package/SETUP.INF" |
          sed -n 's/^ProductName: "\(.*\)"$/\1/p' | tr -cd 'A-Za-z0-9_-')
desktop="/desktop=${product:-Setup},800x600"

use_wine "$width" "$run/bin"
export WINEPREFIX=$run/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
headless=0 loops="" report=""
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  n=120; while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=":$n"; sleep 1
fi
# At the end, also an early one: the loops below stop, and so do Wine and the display.
ended() {
  touch "$run/stop"
  for loop in $loops; do wait "$loop"; done
  if [ $headless = 1 ]; then wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null; fi
  if [ -n "$report" ]; then exec >&3 3>&-; wait "$report" 2>/dev/null; fi
  return 0
}
trap ended EXIT
echo "Making a Windows 98 prefix in $WINEPREFIX"
wine wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
(cd tools && wine reg import win98-colors.reg >/dev/null 2>&1)   # Windows 98's colours
wineserver -w
# Make the Windows side look like Windows 98's: a [386Enh] section in system.ini and
# the stock VMOUSE.VXD in VMM32.
windows=$WINEPREFIX/drive_c/windows
mkdir -p "$windows/system"
printf '[386Enh]\r\nebios=*ebios\r\nwoafont=dosapp.fon\r\nmouse=*vmouse, msmouse.vxd\r\ndevice=*vshare\r\n' >> "$windows/system.ini"
mkdir -p "$windows/system32/VMM32"
printf 'Windows 98 mouse driver (stand-in)\r\n' > "$windows/system32/VMM32/VMOUSE.VXD"
cp "$windows/system.ini" "$run/system.ini.before"
rig98=$WINEPREFIX/drive_c/W9XRIG
if [ $win98 = 1 ]; then
  cp "$out/win98/W9X.DLL" "$windows/system32/"
  mkdir -p "$rig98"
fi

# The medium as drive A:, as a user of an emulated PC carries it over; with --floppies,
# the files of the first disk's image.
if [ $floppies = 1 ]; then
  mkdir -p "$run/floppy"
  mcopy -s -n -i "$run/disk1.img" '::*' "$run/floppy/"
  mkdir -p "$WINEPREFIX/drive_c/disks"
  : > "$run/prompts.log"
elif [ $cd = 1 ]; then
  # The CD image as drive D:, a CD-ROM drive: its tree read out of the image as a CD
  # drive reads it, its files read-only, as a CD's are.
  xorriso -osirrox on -indev "$run/medium.iso" -extract / "$run/cd" >/dev/null 2>&1
  chmod -R a-w "$run/cd"
  ln -s "$run/cd" "$WINEPREFIX/dosdevices/d:"
  wine reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
  wineserver -w
else
  cp -r "$medium" "$run/floppy"
fi
[ $cd = 1 ] || ln -s "$run/floppy" "$WINEPREFIX/dosdevices/a:"
cp $out/autopilot.exe $out/regexport4.exe "$WINEPREFIX/drive_c/"
touch "$run/started"
if [ $cd = 1 ]; then
  echo "Starting D:\\SETUP.EXE $args from the CD image $run/medium.iso (drive D:, a read-only CD-ROM drive)"
elif [ $floppies = 1 ]; then
  echo "Starting A:\\SETUP.EXE $args from floppy image 1 of $(grep -c '^disk' "$run/disks.list") ($run/disk1.img ...)"
elif [ -n "$package_arg" ]; then
  echo "Starting A:\\SETUP.EXE $args from the medium of $package_arg ($medium)"
else
  echo "Starting A:\\SETUP.EXE $args (floppy image of the same medium: $out/medium.img)"
fi

# Puts the disk that a prompt asks for in A: (the files of its image in place of those
# there), until told to stop; the autopilot clicks Retry then.
change_disks() {
  local disks=$WINEPREFIX/drive_c/disks label n
  while [ ! -e "$run/stop" ]; do
    if [ -e "$disks/insert.ready" ]; then
      label=$(cat "$disks/insert.ready"); rm -f "$disks/insert.ready"
      n=$(awk -F'\t' -v l="$label" '$1 == "disk" && $3 == l { print $2; exit }' "$run/disks.list")
      if [ -n "$n" ] && [ -f "$run/disk$n.img" ]; then
        [ $win98 = 1 ] && : > "$rig98/NOTREADY.A"   # no disk in the drive meanwhile
        find "$run/floppy" -mindepth 1 -delete
        mcopy -s -n -i "$run/disk$n.img" '::*' "$run/floppy/"
        rm -f "$rig98/NOTREADY.A"
        echo "  '$label': disk $n put in A: from $run/disk$n.img, Retry" >> "$run/prompts.log"
        printf ok > "$disks/answer"
      else
        echo "  '$label': no such disk, Cancel" >> "$run/prompts.log"
        printf none > "$disks/answer"
      fi
      mv "$disks/answer" "$disks/insert.done"
    fi
    sleep 0.1
  done
}

# Takes each screenshot the autopilot asks for, until told to stop.
take_shots() {
  while [ ! -e "$run/stop" ]; do
    for ready in "$WINEPREFIX"/drive_c/shots/*.ready; do
      [ -e "$ready" ] || continue
      import -window root "$run/shots/$(basename "$ready" .ready).png"
      mv "$ready" "${ready%.ready}.done"
    done
    sleep 0.1
  done
}

# watched LOG COMMAND...: runs the autopilot (COMMAND ends in "-- PROGRAM ..."), which
# starts the program, watches it and ends it at its time limit; a minute past that, the
# autopilot itself is ended, should it hang. Sets code to the program's exit code when
# it ended by itself (else empty) and trouble to what went wrong (else empty).
watched() {
  local log=$1 status; shift
  timeout -k 10 $((limit + 60)) "$@" > "$log" 2>&1
  status=$?
  sed -i 's/\r$//' "$log"
  code=$(sed -n 's/^autopilot: .* ended with exit code \([0-9]*\)$/\1/p' "$log" | tail -1)
  trouble=$(sed -n 's/^autopilot: stopped: //p' "$log" | head -1)
  if [ $status = 124 ] || [ $status = 137 ]; then
    trouble="the autopilot did not end within $((limit + 60)) s"
    import -window root "$run/shots/9-stopped-autopilot.png"
    timeout 30 wine 'C:\autopilot.exe' --windows >> "$log" 2>&1
    sed -i 's/\r$//' "$log"
    wineserver -k
  elif [ -z "$trouble" ] && [ -z "$code" ]; then
    trouble="the autopilot ended (exit code $status) without telling how the program ended"
  fi
  wineserver -w
}

# stop_run WHY LOG_TEXT: ends the run when a program did not end as expected: what was
# on screen (the autopilot's log says it), why, and the screenshot of it.
stop_run() {
  echo "$2"
  echo
  echo "run-setup: $1"
  ls "$run/shots" | grep '^9-stopped' | sed "s|^|  screenshot: $run/shots/|"
  exit 5
}

trap - ERR
set +e
faults=""
# From here on the output is the run's report, kept in RUN_DIR/report.txt as well.
exec 3>&1 > >(tee "$run/report.txt" >&3)
report=$!
if [ $floppies = 1 ]; then
  change_disks &
  loops="$loops $!"
  [ $headless = 1 ] || wine explorer "$desktop" 'C:\autopilot.exe' --disks 'C:\disks' --only-disks \
    > "$run/autopilot.log" 2>&1 &
fi
if [ $headless = 1 ]; then
  mkdir -p "$WINEPREFIX/drive_c/shots"
  take_shots &
  loops="$loops $!"
fi
if [ $headless = 0 ]; then
  if [ $silent = 1 ]; then
    wine "$drive\\SETUP.EXE" $args   # no window: no desktop needed, and its exit code comes back
  else
    wine explorer "$desktop" "$drive\\SETUP.EXE" $args
  fi
  status=$?
  wineserver -w
elif [ $silent = 1 ]; then
  # No window: no desktop needed.
  watched "$run/setup.log" wine 'C:\autopilot.exe' --watch --limit $limit --shots 'C:\shots' -- "$drive\\SETUP.EXE" $args
  [ -z "$trouble" ] || stop_run "SETUP.EXE $args did not end as expected: $trouble" "$(cat "$run/setup.log")"
  status=$code
else
  auto="--limit $limit --shots C:\\shots"; [ -n "$mouse" ] && auto="$auto $mouse"
  [ -n "$args" ] && auto="$auto --driver-only"
  [ $floppies = 1 ] && auto="$auto --disks C:\\disks"
  watched "$run/autopilot.log" wine explorer "$desktop" 'C:\autopilot.exe' $auto -- "$drive\\SETUP.EXE" $args
  [ -z "$trouble" ] || stop_run "SETUP.EXE on autopilot did not end as expected: $trouble" "$(cat "$run/autopilot.log")"
  status=$code
  grep -q '^autopilot: \(finished\|driver-only mode done\)' "$run/autopilot.log" ||
    faults="${faults}the autopilot's walk was not done"$'\n'
  [ "$status" = 0 ] || faults="${faults}SETUP.EXE ended with exit code $status, not 0 as the wizard does"$'\n'
fi
echo "SETUP.EXE ended with exit code $status"
if [ $silent = 1 ]; then
  case $status in
    0) meaning="installed; a restart makes the driver active" ;;
    1) meaning="refused: another mouse program, or Windows NT" ;;
    2) meaning="failed or incomplete: left as after a Cancel" ;;
    3) meaning="a usage error: an unknown option or a destination the page would refuse" ;;
    4) meaning="the setup script cannot be read" ;;
    *) meaning="unexpected" ;;
  esac
  echo "  $meaning"
  echo
  echo "== SETUP.EXE's run report (-l)"
  if [ -f "$WINEPREFIX/drive_c/setup-report.txt" ]; then
    tr -d '\r' < "$WINEPREFIX/drive_c/setup-report.txt" | sed 's/^/  /'
  else
    echo "  none was written"
  fi
fi

# The program the uninstall entry runs, as Add/Remove Programs finds it.
uninstall_command() {
  wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZennoMouse' \
    /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/^ *UninstallString *REG_SZ *//p' |
    sed 's/^"\(.*\)"$/\1/'   # its path, also when it is written in quotes
}
if [ $headless = 0 ] && [ $silent = 0 ]; then
  if [ $uninstall = 1 ] && command=$(uninstall_command) && [ -n "$command" ]; then
    echo "Starting the uninstall entry's command: $command"
    wine explorer "$desktop" "$command"
    wineserver -w
  fi
  exit 0
fi

if [ $silent = 0 ]; then
  cat "$run/autopilot.log"
  echo
fi
if [ $floppies = 1 ]; then
  echo "== Floppy disks"
  while IFS=$'\t' read -r kind n label; do
    [ "$kind" = disk ] || continue
    echo "  disk $n: '$label', $run/disk$n.img, $(mdir -/ -b -i "$run/disk$n.img" :: | grep -vc '/$') files"
  done < "$run/disks.list"
  echo
  echo "== Disk prompts answered"
  if [ -s "$run/prompts.log" ]; then cat "$run/prompts.log"; else echo "  none"; fi
  echo
fi
if [ $cd = 1 ]; then
  echo "== CD image"
  volume=$(xorriso -indev "$run/medium.iso" -pvd_info 2>/dev/null | sed -n 's/^Volume Id *: //p')
  echo "  $run/medium.iso: $(stat -c %s "$run/medium.iso") bytes, volume '$volume', in D: as a CD-ROM drive,"
  echo "  $(find "$run/cd" -type f | wc -l) files, read-only"
  echo
fi
if [ $silent = 0 ]; then
  echo "== Screenshots"
  ls "$run/shots" | sed "s|^|  $run/shots/|"
  echo
fi
echo "== Files installed"
(cd "$WINEPREFIX/drive_c" && find . -type f -cnewer "$run/started" ! -path './users/*' \
   ! -path './windows/temp/*' ! -path './windows/logs/*' ! -path './shots/*' \
   ! -name '*.done' ! -name setup-report.txt -printf '  C:/%P  %s bytes\n' | sort | tee "$run/installed.txt")
echo
echo "== Registry entries written (REGEDIT4)"
export_registry() {
  wine 'C:\regexport4.exe' \
    'HKEY_CLASSES_ROOT\CLSID\{7A3C91D2-5E48-11d2-9C6D-2B81E4F0A537}' \
    'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Mouse\shellex\PropertySheetHandlers' \
    'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZennoMouse' \
    'HKEY_LOCAL_MACHINE\Enum' \
    'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Mouse' \
    'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run::ZennoMouse' | tr -d '\r'
}
export_registry
echo
echo "== system.ini difference (system.bak -> system.ini)"
if [ -f "$windows/system.bak" ]; then
  diff -u --strip-trailing-cr "$windows/system.bak" "$windows/system.ini" | tail -n +3
else
  echo "  system.ini was not changed"
fi
ls "$windows/system32/VMM32" | sed 's/^/  VMM32: /'

# The run's end: what Windows 95/98 would not have let pass, what did not end as
# expected, and the exit code.
finish() {
  if [ $win98 = 1 ]; then
    echo
    echo "== Windows 95/98 answers (W9X.LOG: what they would not have let pass)"
    if [ -s "$rig98/W9X.LOG" ]; then
      tr -d '\r' < "$rig98/W9X.LOG" | sed 's/^/  /'
      faults="${faults}the programs met what Windows 95/98 would not have let pass"$'\n'
    else
      echo "  nothing"
    fi
  fi
  if [ -n "$faults" ]; then
    echo
    printf '%s' "$faults" | sed 's/^/run-setup: /'
    [ $silent = 1 ] && [ "$status" != 0 ] && exit "$status"
    exit 5
  fi
  [ $silent = 1 ] && exit "$status"
  exit 0
}
[ $uninstall = 1 ] || finish
echo
command=$(uninstall_command)
if [ -z "$command" ]; then
  echo "== No uninstall entry: nothing to uninstall"
  finish
fi
echo "== The uninstall entry's command, without windows: $command -s -l C:\\uninstall.txt"
ureport=$WINEPREFIX/drive_c/uninstall.txt
rm -f "$ureport"
if [ $headless = 1 ]; then
  watched "$run/uninstall.log" wine 'C:\autopilot.exe' --watch --limit $limit --shots 'C:\shots' -- "$command" -s -l 'C:\uninstall.txt'
  [ -z "$trouble" ] || stop_run "the uninstaller did not end as expected: $trouble" "$(cat "$run/uninstall.log")"
  ustatus=$code
else
  wine "$command" -s -l 'C:\uninstall.txt'
  ustatus=$?
  wineserver -w
fi
[ "$ustatus" = 0 ] || faults="${faults}the uninstaller ended with exit code $ustatus, not 0"$'\n'
case $ustatus in
  0) meaning="everything of its own removed and put back" ;;
  1) meaning="nothing of the package installed there" ;;
  2) meaning="something could not be removed or put back" ;;
  *) meaning="unexpected" ;;
esac
echo "  exit code $ustatus: $meaning"
left=$(tr -d '\r' < "$ureport" 2>/dev/null | sed -n 's/^LEFT /  /p')
echo "  left as someone changed it since setup (its report, $ureport):"
echo "${left:-  nothing}"
echo
echo "== Files of the installation removed"
while read -r f size; do
  [ -e "$WINEPREFIX/drive_c/${f#C:/}" ] || echo "  $f"
done < "$run/installed.txt"
echo
echo "== Files of the installation still there"
while read -r f size; do
  [ -e "$WINEPREFIX/drive_c/${f#C:/}" ] && echo "  $f"
done < "$run/installed.txt"
wininit=$(find "$windows" -maxdepth 1 -iname wininit.ini | head -1)
if [ -n "$wininit" ]; then
  echo "  deleted at the next start of Windows, as WININIT.INI says:"
  tr -d '\r' < "$wininit" | sed 's/^/    /'
fi
echo
echo "== Registry afterwards (REGEDIT4: what is left of the keys above)"
export_registry
echo
echo "== system.ini against the one from before setup"
if diff -q --strip-trailing-cr "$run/system.ini.before" "$windows/system.ini" >/dev/null; then
  echo "  as it was"
else
  diff -u --strip-trailing-cr "$run/system.ini.before" "$windows/system.ini" | tail -n +3
fi
ls "$windows/system32/VMM32" | sed 's/^/  VMM32: /'
finish
