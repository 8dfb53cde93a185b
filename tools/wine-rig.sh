#!/usr/bin/env bash
# The Wine rig of a build tree: a prefix that reports Windows 98 (32-bit; 64-bit for
# the twin build of a machine that cannot run i386 code), an Xvfb display and a
# persistent wineserver, so every test program of a run meets the same registry
# (HKEY_DYN_DATA lives only as long as the server).
#   wine-rig.sh start BUILD_DIR [WARMUP_EXE]   create/refresh and warm up
#   wine-rig.sh stop BUILD_DIR                 stop the server and the display
#   wine-rig.sh env BUILD_DIR                  print the environment to source
# Writes below BUILD_DIR/wine (the prefix, rig.env, logs). Exit codes: 0 done; 1 the
# display or Wine could not be started; 2 a usage error.
. "$(dirname "$0")/usage.sh"
set -u
usage="usage: $0 start|stop|env BUILD_DIR [WARMUP_EXE]"
[ $# -ge 2 ] && [ -d "$2" ] || { echo "$usage" >&2; exit 2; }
case $1 in start|stop|env) ;; *) echo "$usage" >&2; exit 2 ;; esac
cmd=$1; build=$(cd "$2" && pwd)
rig=$build/wine
mkdir -p "$rig"
. "$(dirname "$0")/wine-width.sh"
use_wine "$(cat "$build/wine-arch" 2>/dev/null || echo win32)" "$rig/bin"
export WINEPREFIX=$rig/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
loader=""
[ "$WINEARCH" = win64 ] && loader="export PATH='$rig/bin':\"\$PATH\" WINELOADER=$WINELOADER"

write_env() {
  cat > "$rig/rig.env" <<ENV
export WINEPREFIX='$WINEPREFIX' WINEARCH=$WINEARCH WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
$loader
export DISPLAY=':$1'
XVFB_PID=$2
ENV
}

start_display() {
  if [ -f "$rig/rig.env" ]; then
    . "$rig/rig.env"
    if kill -0 "$XVFB_PID" 2>/dev/null; then return 0; fi
  fi
  # Xvfb picks a free display itself and names it once it listens, so rigs of
  # several build trees started at once cannot take the same one.
  rm -f "$rig/display"
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp </dev/null \
    3>"$rig/display" >"$rig/xvfb.log" 2>&1 &
  local pid=$! n=""
  for _ in $(seq 100); do n=$(tr -dc 0-9 < "$rig/display"); [ -n "$n" ] && break; sleep 0.1; done
  [ -n "$n" ] || { echo "wine-rig: Xvfb did not start:"; cat "$rig/xvfb.log"; exit 1; }
  write_env "$n" "$pid"
  export DISPLAY=":$n"
}

case $cmd in
start)
  start_display
  # The colour scheme's file is part of the settings: a change to it is applied too.
  colors=$(dirname "$0")/win98-colors.reg
  settings="$WINEARCH win98 x11 desktop=1024x768 nocrashdialog colors=$(cksum < "$colors" | cut -d' ' -f1)"
  if [ ! -f "$WINEPREFIX/system.reg" ] || [ "$(cat "$rig/settings" 2>/dev/null)" != "$settings" ]; then
    [ -f "$WINEPREFIX/system.reg" ] || wine wineboot -i >"$rig/wineboot.log" 2>&1
    # Windows 98 for GetVersion; Wine's own virtual desktop inside the Xvfb screen, so
    # that windows are shown at once without a window manager, and screenshots work.
    wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
    wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    # A crashing test program ends with a backtrace in its output instead of waiting
    # behind the debugger's dialog until the test times out.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # Windows 98's colours, so that screenshots show what its users see.
    (cd "$(dirname "$colors")" && wine reg import win98-colors.reg >/dev/null 2>&1)
    wineserver -k; wineserver -w
    echo "$settings" > "$rig/settings"
  fi
  # Windows 98 always has WINDOWS\SYSTEM; a 64-bit prefix lacks it.
  mkdir -p "$WINEPREFIX/drive_c/windows/system"
  # The Windows 95/98 answers (tests/win98) for the programs patched to ask them, a
  # floppy drive A: whose disk the tests change
  [ -f "$build/win98/W9X.DLL" ] && cp "$build/win98/W9X.DLL" "$WINEPREFIX/drive_c/windows/system32/"
  mkdir -p "$rig/floppy" "$rig/drive_d"
  ln -sfn "$rig/floppy" "$WINEPREFIX/dosdevices/a:"
  # and a second hard disk, D:
  ln -sfn "$rig/drive_d" "$WINEPREFIX/dosdevices/d:"
  setsid wineserver -p </dev/null >/dev/null 2>&1
  # The session's first program starts Wine's services, which keep its output open:
  # let a throwaway one take that, so that later programs' output can be waited for.
  if ! wine cmd.exe /c exit </dev/null >"$rig/first-run.log" 2>&1; then
    echo "warning: Wine's first program failed here:"; cat "$rig/first-run.log"
  fi
  # The first window right after the prefix is made can fail while Wine's desktop
  # starts: one throwaway GUI run takes that hit.
  if [ $# -ge 3 ]; then
    timeout 60 wine "$3" >/dev/null 2>&1 || true
  fi
  echo "rig ready: prefix $WINEPREFIX, display $DISPLAY"
  ;;
stop)
  if [ -f "$rig/rig.env" ]; then
    . "$rig/rig.env"
    wineserver -k 2>/dev/null || true
    kill "$XVFB_PID" 2>/dev/null || true
    rm -f "$rig/rig.env"
  fi
  ;;
env)
  cat "$rig/rig.env"
  ;;
esac
