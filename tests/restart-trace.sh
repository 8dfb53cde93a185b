#!/usr/bin/env bash
# The real SETUP.EXE walked to its finish page from outside; Wine's process trace shows
# whether it asked for a restart (ExitWindowsEx starts "wineboot.exe --end-session").
set -u
build=$1; setup=$2; driver=$3
. "$build/wine/rig.env"
dir=$WINEPREFIX/drive_c/t/restart
windows=$WINEPREFIX/drive_c/windows
saved=$(mktemp -d)
cp -p "$windows/system.ini" "$saved/"
# Each walk installs: put system.ini back and take the registration away after it.
undo_install() {
  cp -p "$saved/system.ini" "$windows/system.ini"
  rm -f "$windows/system.bak" "$windows/system.new"
  wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v ZennoMouse /f >/dev/null 2>&1
  wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZennoMouse' /f >/dev/null 2>&1
  wine reg delete 'HKCR\CLSID\{7A3C91D2-5E48-11d2-9C6D-2B81E4F0A537}' /f >/dev/null 2>&1
  wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Mouse\shellex\PropertySheetHandlers' /f >/dev/null 2>&1
  wine reg delete 'HKLM\Enum' /f >/dev/null 2>&1
  wine reg delete 'HKLM\System\CurrentControlSet\Services\Class\Mouse' /f >/dev/null 2>&1
}
fail=0
for choice in later now; do
  rm -rf "$dir"; mkdir -p "$dir"
  cp "$setup" "$dir/SETUP.EXE"; cp "$driver" "$dir/autopilot.exe"
  printf '[Main]\r\nMinimumSpace=0\r\nDefaultPath=C:\\t\\restart\\Dest\r\n' > "$dir/SETUP.INF"
  (cd "$dir" && timeout 60 wine 'C:\t\restart\autopilot.exe' --restart "$choice" > "$dir.autopilot.log" 2>&1) &
  (cd "$dir" && WINEDEBUG=+process timeout 60 wine 'C:\t\restart\SETUP.EXE' 2> "$dir.trace")
  status=$?
  wait
  cat "$dir.autopilot.log"
  asked=$(grep -c 'wineboot.exe --end-session' "$dir.trace")
  echo "restart $choice: SETUP.EXE exit code $status, restart requests in the trace: $asked"
  [ "$status" -eq 0 ] || fail=1
  grep -q 'finished' "$dir.autopilot.log" || fail=1
  if [ "$choice" = later ]; then [ "$asked" -eq 0 ] || fail=1; else [ "$asked" -ge 1 ] || fail=1; fi
  undo_install
done
rm -rf "$dir" "$dir.trace" "$dir.autopilot.log" "$saved"
exit $fail
