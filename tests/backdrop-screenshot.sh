#!/usr/bin/env bash
# Screenshots of the real SETUP.EXE: the backdrop alone and with the welcome page over
# it, kept in build/artifacts; the gradient's top and bottom are checked in them.
set -u
build=$1; setup=$2; autopilot=$3
. "$build/wine/rig.env"
dir=$WINEPREFIX/drive_c/t/shot
rm -rf "$dir"; mkdir -p "$dir" "$build/artifacts"
cp "$setup" "$dir/SETUP.EXE"; cp "$autopilot" "$dir/autopilot.exe"
printf '[Main]\r\nProductName=Orvel\r\n' > "$dir/SETUP.INF"
(cd "$dir" && timeout 60 wine 'C:\t\shot\autopilot.exe' --shots 'C:\t\shot' --cancel-at SETUP_BEGIN) &
(cd "$dir" && timeout 60 wine 'C:\t\shot\SETUP.EXE') &
fail=0
for name in 1-backdrop 2-welcome; do
  for _ in $(seq 600); do [ -e "$dir/$name.ready" ] && break; sleep 0.05; done
  [ -e "$dir/$name.ready" ] || { echo "no $name to photograph"; fail=1; }
  import -window root "$build/artifacts/$name.png"
  touch "$dir/$name.done"
done
wait
for name in 1-backdrop 2-welcome; do
  shot=$build/artifacts/$name.png
  # Near the top-left corner: band 1 of the gradient; at the bottom right: one of the
  # last, almost black bands.
  top=$(convert "$shot" -format '%[pixel:p{4,5}]' info:)
  bottom=$(convert "$shot" -format '%[pixel:p{1010,760}]' info:)
  echo "screenshot $shot: pixel (4,5) $top, pixel (1010,760) $bottom"
  case $top in *"(0,0,25"[0-5]")") ;; *) echo "no bright blue at the top"; fail=1 ;; esac
  case $bottom in *"(0,0,"[0-9]")"|*"(0,0,"[0-9][0-9]")") ;; *) echo "no dark blue at the bottom"; fail=1 ;; esac
done
# The page covers the screen's centre in one shot and not in the other.
alone=$(convert "$build/artifacts/1-backdrop.png" -format '%[pixel:p{512,384}]' info:)
paged=$(convert "$build/artifacts/2-welcome.png" -format '%[pixel:p{512,384}]' info:)
echo "centre: $alone alone, $paged with the welcome page"
[ "$alone" != "$paged" ] || { echo "the welcome page does not show"; fail=1; }
rm -rf "$dir"
exit $fail
