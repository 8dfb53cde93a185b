#!/usr/bin/env bash
# After every test of a run: nothing an installation makes is left in the rig's prefix,
# so that each test found it as the first one did (the tests clean up what they made).
set -u
build=$1
. "$build/wine/rig.env"
fail=0
for key in 'HKLM\Enum' 'HKLM\System\CurrentControlSet\Services\Class\Mouse' \
           'HKCR\CLSID\{7A3C91D2-5E48-11d2-9C6D-2B81E4F0A537}' \
           'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ZennoMouse' \
           'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Mouse\shellex\PropertySheetHandlers' \
           'HKLM\Software\OrvelTest'; do
  if wine reg query "$key" >/dev/null 2>&1; then echo "FAIL: left behind: $key"; fail=1; fi
done
if wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v ZennoMouse >/dev/null 2>&1; then
  echo "FAIL: left behind: the Run value ZennoMouse"; fail=1
fi
drive=$WINEPREFIX/drive_c
for path in ORVEL windows/system.bak windows/system.new windows/wininit.ini windows/KXMOUSE.INI \
            windows/system/KXMOUSE.VXD windows/inf/KXMOUSE.INF; do
  if [ -n "$(find "$drive" -maxdepth 3 -ipath "$drive/$path" 2>/dev/null)" ]; then
    echo "FAIL: left behind: C:/$path"; fail=1
  fi
done
[ $fail -eq 0 ] && echo "the prefix holds nothing a test made"
exit $fail
