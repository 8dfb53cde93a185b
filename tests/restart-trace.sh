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
# Each walk installs: put system.ini back and take away the registry keys it made (those
# of the product, the program's own node and class key, and the parents it needed).
made_keys='HKLM\Enum\Root\OrvelMouse HKLM\Enum\Root HKLM\Enum HKLM\System\CurrentControlSet\Services\Class\Mouse'
note_keys() {
  before=""
  for key in $made_keys; do
    wine reg query "$key" >/dev/null 2>&1 && before="$before $key"
  done
}
undo_install() {
  cp -p "$saved/system.ini" "$windows/system.ini"
  rm -f "$windows/system.bak" "$windows/system.new"
  wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v ZennoMouse /f >/dev/null 2>&1
  wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZennoMouse' /f >/dev/null 2>&1
  wine reg delete 'HKCR\CLSID\{7A3C91D2-5E48-11d2-9C6D-2B81E4F0A537}' /f >/dev/null 2>&1
  wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Mouse\shellex\PropertySheetHandlers' /f >/dev/null 2>&1
  class=$(wine reg query 'HKLM\Enum\Root\OrvelMouse\0000' /v Driver 2>/dev/null |
          tr -d '\r' | sed -n 's/^ *Driver *REG_SZ *//p')
  [ -n "$class" ] && wine reg delete "HKLM\System\CurrentControlSet\Services\Class\\$class" /f >/dev/null 2>&1
  for key in $made_keys; do
    case " $before " in *" $key "*) ;; *) wine reg delete "$key" /f >/dev/null 2>&1 ;; esac
  done
}
fail=0
for choice in later now; do
  rm -rf "$dir"; mkdir -p "$dir"
  cp "$setup" "$dir/SETUP.EXE"; cp "$driver" "$dir/autopilot.exe"
  note_keys
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
