#!/usr/bin/env bash
# A screenshot of the real SETUP.EXE's backdrop with the welcome page over it, kept in
# build/artifacts; the picture is also checked for the gradient's top and bottom.
set -u
build=$1; setup=$2; driver=$3
. "$build/wine/rig.env"
dir=$WINEPREFIX/drive_c/t/shot
rm -rf "$dir"; mkdir -p "$dir" "$build/artifacts"
cp "$setup" "$dir/SETUP.EXE"; cp "$driver" "$dir/drive_walk.exe"
printf '[Main]\r\nProductName=Orvel\r\n' > "$dir/SETUP.INF"
(cd "$dir" && timeout 60 wine 'C:\t\shot\drive_walk.exe' pause 'C:\t\shot\marker') &
(cd "$dir" && timeout 60 wine 'C:\t\shot\SETUP.EXE') &
setup_pid=$!
for _ in $(seq 600); do [ -e "$dir/marker.ready" ] && break; sleep 0.05; done
shot=$build/artifacts/backdrop-welcome.png
import -window root "$shot"
touch "$dir/marker.done"
wait
fail=0
[ -e "$dir/marker.ready" ] || { echo "the welcome page never showed"; fail=1; }
# Below the title banner's row, at the screen's left edge: band 2 of the gradient;
# at the bottom right: one of the last, almost black bands.
top=$(convert "$shot" -format '%[pixel:p{4,5}]' info:)
bottom=$(convert "$shot" -format '%[pixel:p{1010,760}]' info:)
echo "screenshot $shot: pixel (4,5) $top, pixel (1010,760) $bottom"
case $top in *"(0,0,25"[0-5]")"|*"(0%,0%,9"*) ;; *) echo "no bright blue at the top"; fail=1 ;; esac
case $bottom in *"(0,0,"[0-9]")"|*"(0,0,"[0-9][0-9]")"|*"(0%,0%,"[0-9]"."*) ;; *) echo "no dark blue at the bottom"; fail=1 ;; esac
rm -rf "$dir"
exit $fail
