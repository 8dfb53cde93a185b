#!/usr/bin/env bash
# Builds an installation medium from a package directory:
#   make-medium.sh SETUP.EXE OUT_DIR [FLOPPY_IMAGE] [PACKAGE_DIR]
#   make-medium.sh --per-disk SETUP.EXE OUT_DIR IMAGE_PREFIX [PACKAGE_DIR]
# The package directory holds SETUP.INF and every file under its target name, in the
# subdirectory that the file's [DirectoryName] keyword names. Without PACKAGE_DIR it is
# the sample with the built uninstaller, which sample/ lacks: build/package, as the
# build lays it out, when it is there; else sample/ laid out in a temporary directory
# with build/UNINSTAL.EXE; with neither, it stops with a message. The package is
# checked first (tools/check-package.sh): with an error nothing is written. On the medium each
# file has its source name; a source name ending in "_" is compressed with mscompress.
# With FLOPPY_IMAGE, the medium is also written as a 1.44 MB FAT12 floppy image. With
# --per-disk, each disk N of the script gets an image IMAGE_PREFIX<N>.img of its own,
# labelled with the disk's label: its files, and on disk 1 also SETUP.EXE and SETUP.INF.
# Deletes OUT_DIR and makes it anew; overwrites FLOPPY_IMAGE; with --per-disk deletes
# the images IMAGE_PREFIX<digit>.img first.
# Exit codes: 0 written; 1 the package has errors, no package is given and there is no
# built uninstaller to lay out the sample with, a tool is missing or a write failed;
# 2 a usage error, or a medium or disk too big for a floppy (no image for it).
. "$(dirname "$0")/usage.sh"
set -eu
perdisk=0
if [ "${1:-}" = --per-disk ]; then perdisk=1; shift; fi
[ $# -ge 2 ] || { echo "usage: $0 [--per-disk] SETUP.EXE OUT_DIR [IMAGE] [PACKAGE_DIR]" >&2; exit 2; }
setup=$1; out=$2; image=${3:-}
package=${4:-}
[ $perdisk = 0 ] || [ -n "$image" ] || { echo "make-medium: --per-disk needs an IMAGE_PREFIX" >&2; exit 2; }
command -v mscompress >/dev/null || { echo "make-medium: mscompress is missing (apt-get install mscompress)" >&2; exit 1; }
if [ -n "$image" ]; then
  command -v mformat >/dev/null || { echo "make-medium: mtools is missing (apt-get install mtools)" >&2; exit 1; }
  case $image in /*) ;; *) image=$PWD/$image ;; esac   # mcopy runs in the medium's directory
fi

work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
if [ -z "$package" ]; then
  top=$(cd "$(dirname "$0")/.." && pwd)
  if [ -d "$top/build/package" ]; then
    package=$top/build/package
    echo "package: $package (the sample, as the build lays it out)"
  elif [ -f "$top/build/UNINSTAL.EXE" ]; then
    cp -r "$top/sample" "$work/package"
    cp "$top/build/UNINSTAL.EXE" "$work/package/UNINSTAL.EXE"
    package=$work/package
    echo "package: $top/sample with $top/build/UNINSTAL.EXE"
  else
    echo "make-medium: no PACKAGE_DIR given, and there is neither build/package nor a built" >&2
    echo "build/UNINSTAL.EXE to lay out the sample with (sample/ has no UNINSTAL.EXE):" >&2
    echo "build first (cmake -S . -B build && cmake --build build) or give PACKAGE_DIR" >&2
    exit 1
  fi
fi
set +e
bash "$(dirname "$0")/check-package.sh" --list "$work/list" "$package" > "$work/findings"
checked=$?
set -e
cat "$work/findings" >&2
case $checked in
  0) ;;
  1) echo "make-medium: the package has errors (above); nothing was written" >&2; exit 1 ;;
  *) exit 1 ;;
esac

rm -rf "$out"; mkdir -p "$out"
cp "$setup" "$out/SETUP.EXE"

# One line per file: disk, source directory, source name, the file in the package.
count=0
while IFS=$'\t' read -r kind disk dir source from; do
  [ "$kind" = file ] || continue
  mkdir -p "$out/$dir"
  case $source in
    *_) name=$(basename "$from")
        cp "$package/$from" "$work/$name"
        mscompress "$work/$name" >/dev/null
        mv "$work/${name}_" "$out/$dir/$source"
        rm "$work/$name" ;;
    *)  cp "$package/$from" "$out/$dir/$source" ;;
  esac
  count=$((count + 1))
done < "$work/list"
# Last, so that it is the script even when the script lists itself.
sed 's/\r$//; s/$/\r/' "$package/SETUP.INF" > "$out/SETUP.INF"   # CR LF, as DOS and Windows write it
bytes=$(du -sb "$out" | cut -f1)
echo "medium: $out ($count package files, $bytes bytes in all)"

[ -n "$image" ] || exit 0

# Writes the files of directory $1 to a new floppy image $2 labelled $3; 0 when it is
# written, 2 when they do not fit (no image is left), 1 on any other failure.
write_floppy() {
  local from=$1 img=$2 label=$3 errors
  rm -f "$img"
  mformat -C -f 1440 ${label:+-v "$label"} -i "$img" :: >/dev/null || return 1
  set -- "$from"/*
  [ -e "$1" ] || return 0
  if ! errors=$(cd "$from" && MTOOLS_NO_VFAT=1 mcopy -s -Q -i "$img" ./* ::/ 2>&1 >/dev/null); then
    rm -f "$img"
    printf '%s' "$errors" | grep -qi 'full' && return 2
    printf '%s\n' "$errors" >&2
    return 1
  fi
}

# A disk label as a volume label: 11 characters, those a label cannot hold made "_".
volume_label() {
  printf '%s' "${1:0:11}" | sed 's/["*+,./:;<=>?|\\[]/_/g; s/]/_/g'
}

if [ $perdisk = 0 ]; then
  set +e; write_floppy "$out" "$image" ORVEL; status=$?; set -e
  if [ $status = 2 ]; then
    echo "make-medium: the medium ($bytes bytes) does not fit on a 1.44 MB floppy disk; no image was written" >&2
    exit 2
  fi
  [ $status = 0 ] || { echo "make-medium: writing the floppy image failed; no image was written" >&2; exit 1; }
  echo "floppy image: $image (1.44 MB, FAT12)"
  exit 0
fi

rm -f "$image"[0-9].img
result=0
while IFS=$'\t' read -r kind disk label; do
  [ "$kind" = disk ] || continue
  stage=$work/disk$disk
  mkdir -p "$stage"
  if [ "$disk" = 1 ]; then cp "$out/SETUP.EXE" "$out/SETUP.INF" "$stage/"; fi
  while IFS=$'\t' read -r fkind fdisk dir source from; do
    [ "$fkind" = file ] && [ "$fdisk" = "$disk" ] || continue
    mkdir -p "$stage/$dir"
    cp "$out/$dir/$source" "$stage/$dir/$source"
  done < "$work/list"
  size=$(du -sb "$stage" | cut -f1)
  set +e; write_floppy "$stage" "$image$disk.img" "$(volume_label "$label")"; status=$?; set -e
  case $status in
    0) echo "floppy image of disk $disk: $image$disk.img ($size bytes, label \"$(volume_label "$label")\")" ;;
    2) echo "make-medium: disk $disk ($size bytes) does not fit on a 1.44 MB floppy disk; no image was written for it" >&2
       result=2 ;;
    *) echo "make-medium: writing the floppy image of disk $disk failed; no image was written for it" >&2
       result=1 ;;
  esac
done < "$work/list"
exit $result
