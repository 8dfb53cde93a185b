#!/usr/bin/env bash
# Builds an installation medium from a package directory (default: sample/):
#   make-medium.sh SETUP.EXE OUT_DIR [FLOPPY_IMAGE] [PACKAGE_DIR]
# The package directory holds SETUP.INF and every file under its target name, in the
# subdirectory that the file's [DirectoryName] keyword names. On the medium a file
# whose source name ends in "_" is compressed with mscompress; the others are copied.
# With FLOPPY_IMAGE, the medium is also written as a 1.44 MB FAT12 floppy image.
set -eu
setup=$1; out=$2; image=${3:-}
package=${4:-$(dirname "$0")/../sample}
inf=$package/SETUP.INF
[ -f "$inf" ] || { echo "make-medium: no SETUP.INF in $package" >&2; exit 1; }
command -v mscompress >/dev/null || { echo "make-medium: mscompress is missing (apt-get install mscompress)" >&2; exit 1; }

rm -rf "$out"; mkdir -p "$out"
cp "$setup" "$out/SETUP.EXE"
sed 's/\r$//; s/$/\r/' "$inf" > "$out/SETUP.INF"   # CR LF, as DOS and Windows write it

# "source target keyword" for every file line of the [DiskN] sections.
files=$(tr -d '\r' < "$inf" | awk '
  /^[ \t]*\[/ { s = tolower($0); gsub(/[][ \t]/, "", s); sec = s; next }
  /^[ \t]*;/ || !/=/ { next }
  { key = substr($0, 1, index($0, "=") - 1); val = substr($0, index($0, "=") + 1)
    gsub(/^[ \t]+|[ \t]+$/, "", key) }
  sec == "directoryname" { gsub(/^[ \t]+|[ \t]+$/, "", val); dir[tolower(key)] = val; next }
  sec ~ /^disk[1-6]$/ {
    n = split(val, f, ",")
    for (i = 1; i <= 4; i++) gsub(/^[ \t]+|[ \t]+$/, "", f[i])
    lines[++count] = f[1] "\t" f[2] "\t" tolower(f[4])
  }
  END { for (i = 1; i <= count; i++) { split(lines[i], l, "\t"); print l[1] "\t" l[2] "\t" dir[l[3]] } }')

count=0
while IFS=$'\t' read -r source target dir; do
  [ -n "$source" ] || continue
  [ -n "$dir" ] || dir=.
  mkdir -p "$out/$dir"
  case $source in
    *_) original=$package/$dir/$target
        [ -f "$original" ] || { echo "make-medium: $original is missing" >&2; exit 1; }
        cp "$original" "$out/$dir/$target"
        mscompress "$out/$dir/$target" >/dev/null
        mv "$out/$dir/${target}_" "$out/$dir/$source"
        rm "$out/$dir/$target" ;;
    *)  [ -f "$package/$dir/$source" ] || { echo "make-medium: $package/$dir/$source is missing" >&2; exit 1; }
        cp "$package/$dir/$source" "$out/$dir/$source" ;;
  esac
  count=$((count + 1))
done <<< "$files"
bytes=$(du -sb "$out" | cut -f1)
echo "medium: $out ($count package files, $bytes bytes in all)"

[ -n "$image" ] || exit 0
command -v mformat >/dev/null || { echo "make-medium: mtools is missing (apt-get install mtools)" >&2; exit 1; }
rm -f "$image"
mformat -C -f 1440 -v ORVEL -i "$image" :: >/dev/null
if ! errors=$(cd "$out" && MTOOLS_NO_VFAT=1 mcopy -s -Q -i "$image" ./* ::/ 2>&1 >/dev/null); then
  rm -f "$image"
  if printf '%s' "$errors" | grep -qi 'full'; then
    echo "make-medium: the medium ($bytes bytes) does not fit on a 1.44 MB floppy disk; no image was written" >&2
    exit 2
  fi
  echo "make-medium: writing the floppy image failed; no image was written:" >&2
  printf '%s\n' "$errors" >&2
  exit 1
fi
echo "floppy image: $image (1.44 MB, FAT12)"
