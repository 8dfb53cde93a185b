#!/usr/bin/env bash
# Builds an installation medium from a package directory:
#   make-medium.sh SETUP.EXE OUT_DIR [FLOPPY_IMAGE] [PACKAGE_DIR]
#   make-medium.sh --per-disk SETUP.EXE OUT_DIR IMAGE_PREFIX [PACKAGE_DIR]
#   make-medium.sh --span [--disk-kb N] SETUP.EXE OUT_DIR IMAGE_PREFIX [PACKAGE_DIR]
#   make-medium.sh --iso IMAGE.iso SETUP.EXE OUT_DIR [PACKAGE_DIR]
# The package directory holds SETUP.INF and every file under its target name, in the
# subdirectory that the file's [DirectoryName] keyword names. Without PACKAGE_DIR it is
# the sample with the built uninstaller, which sample/ lacks: build/package, as the
# build lays it out, when it is there; else sample/ laid out in a temporary directory
# with build/UNINSTAL.EXE; with neither, it stops with a message. The package is
# checked first (tools/check-package.sh): with an error nothing is written. On the medium each
# file has its source name; a source name ending in "_" is compressed with mscompress.
# Each file is read back from the medium (expanded) and held against the package's
# file, and the medium's SETUP.INF gets a section [Checksums] (one it had is replaced):
# for each file, its source name = its size and the CRC-32 of its contents, which
# SETUP.EXE checks every file it writes against.
# With FLOPPY_IMAGE, the medium is also written as a 1.44 MB FAT12 floppy image. With
# --per-disk, each disk N of the script gets an image IMAGE_PREFIX<N>.img of its own,
# labelled with the disk's label: its files, and on disk 1 also SETUP.EXE and SETUP.INF.
# With --span, the script's file lines (on one [Disk1] or on several disks; those setup
# does not load are named and left out) are laid out anew over as many floppy disks of
# N KB as they need (--disk-kb: 720, 1200, 1440 or 2880; default 1440), at most six:
# in their order, the script and the uninstaller first on disk 1, each disk filled with
# as many as fit as they are stored (whole clusters, the subdirectories' entries, the
# root directory's fixed number of entries, one of them the volume label; on disk 1
# also SETUP.EXE and SETUP.INF); a disk that mtools finds full when its image is
# written gives its last file line to the next disk. The script is written anew with
# the disks' [FileCounts], [DiskN] sections and [DiskLabel] entries (labels it gives are
# kept; missing ones are the product name and " Disk N"), every other line as it was,
# into OUT_DIR and onto disk 1. Each disk becomes IMAGE_PREFIX<N>.img, with a volume
# label of 11 characters that ends in the disk's number, fixed serial numbers and file
# times, so that the same package gives the same images byte for byte. It prints a
# table of the disks: label, files, bytes used and free.
# With --iso, the medium (all disks in its one tree, as OUT_DIR holds them) is written as
# an ISO 9660 level-1 CD image IMAGE.iso with xorriso: 8.3 upper-case names, which
# Windows 95's CD file system reads without Joliet (a name that is none stops it, exit
# code 2), the volume identifier disk 1's label in the characters one may hold.
# SOURCE_DATE_EPOCH: the time of the files on --span and --iso images, in seconds since
# 1970 (default 898776000, 25 June 1998 12:00 UTC).
# Deletes OUT_DIR and makes it anew; overwrites FLOPPY_IMAGE; with --per-disk or --span
# deletes the images IMAGE_PREFIX<digit>.img first.
# Exit codes: 0 written; 1 the package has errors, no package is given and there is no
# built uninstaller to lay out the sample with, a tool is missing, a write failed or a
# file read back from the medium is not its package file;
# 2 a usage error, a medium or disk too big for a floppy (no image for it), or with
# --iso a name that is no level-1 name; with
# --span, a file larger than a disk or a package that needs more than six disks (no
# image is left).
. "$(dirname "$0")/usage.sh"
set -eu
usage="usage: $0 [--per-disk | --span [--disk-kb N]] SETUP.EXE OUT_DIR [IMAGE] [PACKAGE_DIR]
       $0 --iso IMAGE.iso SETUP.EXE OUT_DIR [PACKAGE_DIR]"
perdisk=0 span=0 disk_kb="" iso=""
while [ $# -gt 0 ]; do
  case $1 in
    --per-disk) perdisk=1 ;;
    --span) span=1 ;;
    --iso) [ $# -ge 2 ] && [ -n "$2" ] || { echo "$usage" >&2; exit 2; }
           iso=$2; shift ;;
    --disk-kb) [ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }
               disk_kb=$2; shift ;;
    *) break ;;
  esac
  shift
done
[ $# -ge 2 ] && [ $((perdisk + span)) -le 1 ] || { echo "$usage" >&2; exit 2; }
if [ -n "$iso" ]; then
  [ $((perdisk + span)) = 0 ] && [ $# -le 3 ] || { echo "$usage" >&2; exit 2; }
  set -- "$1" "$2" "" "${3:-}"   # no floppy image; the package, when given
  command -v xorriso >/dev/null || { echo "make-medium: xorriso is missing (apt-get install xorriso)" >&2; exit 1; }
  case $iso in /*) ;; *) iso=$PWD/$iso ;; esac
fi
[ -z "$disk_kb" ] || [ $span = 1 ] || { echo "make-medium: --disk-kb goes with --span" >&2; exit 2; }
case ${disk_kb:=1440} in
  720|1200|1440|2880) ;;
  *) echo "make-medium: --disk-kb is 720, 1200, 1440 or 2880, not '$disk_kb'" >&2; exit 2 ;;
esac
setup=$1; out=$2; image=${3:-}; image_named=${3:-}
package=${4:-}
[ $((perdisk + span)) = 0 ] || [ -n "$image" ] ||
  { echo "make-medium: --per-disk and --span need an IMAGE_PREFIX" >&2; exit 2; }
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

# Puts file $1 on the medium as $2, compressed with mscompress when $2 ends in "_".
store() {
  local name
  case $2 in
    *_) name=$(basename "$1")
        cp "$1" "$work/$name"
        mscompress "$work/$name" >/dev/null
        mv "$work/${name}_" "$2"
        rm "$work/$name" ;;
    *)  cp "$1" "$2" ;;
  esac
}

checker=$(cd "$(dirname "$0")/.." && pwd)/build/checker/check-package   # built by the check

# The file $1 on the medium read back, expanded when it is compressed, held against the
# package file's checksum $2 ("SIZE,CRC" as [Checksums] holds it).
confirm() {
  local expanded=$1 sum
  case $1 in
    *_) expanded=$work/readback
        msexpand < "$1" > "$expanded" 2>/dev/null || { echo "make-medium: $1 cannot be expanded" >&2; return 1; } ;;
  esac
  sum=$("$checker" --checksum "$expanded") || return 1
  [ "$sum" = "$2" ] && return 0
  echo "make-medium: $1 expands to $sum (size,CRC-32), not to its package file's $2" >&2
  return 1
}

# One line per file: disk, source directory, source name, the file in the package, its
# checksum ("-" for the script itself: it cannot hold its own). Each file is read back
# from the medium; its checksum goes into the section under its source name.
count=0
: > "$work/checksums"
while IFS=$'\t' read -r kind disk dir source from sum; do
  [ "$kind" = file ] || continue
  mkdir -p "$out/$dir"
  store "$package/$from" "$out/$dir/$source"
  count=$((count + 1))
  [ "$sum" != - ] || continue
  confirm "$out/$dir/$source" "$sum" || { rm -rf "$out"; exit 1; }   # no medium that lies
  grep -qixF "$source=$sum" "$work/checksums" || printf '%s=%s\n' "$source" "$sum" >> "$work/checksums"
done < "$work/list"

# The script in OUT_DIR with the section [Checksums] written anew as its last.
write_checksums() {
  awk '{ l = tolower($0); sub(/\r$/, "", l); sub(/^[ \t]+/, "", l) }
       l ~ /^\[/ { skip = (l ~ /^\[checksums\]/) }
       !skip' "$out/SETUP.INF" > "$work/script"
  { cat "$work/script"; printf '[Checksums]\r\n'; sed 's/$/\r/' "$work/checksums"; } > "$out/SETUP.INF"
}

# Last, so that it is the script even when the script lists itself.
sed 's/\r$//; s/$/\r/' "$package/SETUP.INF" > "$out/SETUP.INF"   # CR LF, as DOS and Windows write it
write_checksums
bytes=$(du -sb "$out" | cut -f1)
echo "medium: $out ($count package files, $bytes bytes in all)"

# --iso: the medium's tree as an ISO 9660 level-1 image, which Windows 95's CD file
# system reads without Joliet: names of 8 and 3 upper-case letters, digits and "_",
# directories of 8, at most 7 below the root. Its volume identifier is disk 1's label in
# such characters (32 at most); its files have the time SOURCE_DATE_EPOCH.
if [ -n "$iso" ]; then
  bad=$(cd "$out" && { find . -mindepth 1 -type d | sed 's|^\./||' | tr a-z A-Z |
          grep -Ev '^([A-Z0-9_]{1,8}/){0,6}[A-Z0-9_]{1,8}$';
        find . -type f | sed 's|^\./||' | tr a-z A-Z |
          grep -Ev '^([A-Z0-9_]{1,8}/){0,7}[A-Z0-9_]{1,8}(\.[A-Z0-9_]{1,3})?$'; } | head -1) || true
  if [ -n "$bad" ]; then
    echo "make-medium: $bad is no ISO 9660 level-1 name (8.3, letters, digits and _); no image was written" >&2
    exit 2
  fi
  label=$(awk -F'\t' '$1 == "disk" && $2 == 1 { print $3 }' "$work/list" | tr a-z A-Z |
          sed 's/[^A-Z0-9_]/_/g' | cut -c1-32)
  export TZ=UTC SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-898776000}
  find "$out" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  rm -f "$iso"
  if ! xorriso -as mkisofs -quiet -iso-level 1 -V "${label:-ORVEL}" -o "$iso" "$out" 2> "$work/xorriso"; then
    cat "$work/xorriso" >&2; rm -f "$iso"
    echo "make-medium: writing the CD image failed; no image was written" >&2
    exit 1
  fi
  echo "CD image: $iso (ISO 9660 level 1, $(stat -c %s "$iso") bytes, volume \"${label:-ORVEL}\")"
  exit 0
fi

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

# --span: the disks' format as mtools writes it, "KB,CLUSTER_BYTES,CLUSTERS,ROOT_ENTRIES".
disk_format() {
  local probe=$work/probe.img info sector cluster root free
  mformat -C -f "$disk_kb" -i "$probe" :: >/dev/null || return 1
  info=$(minfo -i "$probe" ::) || return 1
  sector=$(sed -n 's/^sector size: \([0-9]*\) bytes$/\1/p' <<<"$info")
  cluster=$(sed -n 's/^cluster size: \([0-9]*\) sectors$/\1/p' <<<"$info")
  root=$(sed -n 's/^max available root directory slots: \([0-9]*\)$/\1/p' <<<"$info")
  free=$(free_bytes "$probe")
  [ -n "$sector" ] && [ -n "$cluster" ] && [ -n "$root" ] && [ -n "$free" ] || return 1
  echo "$disk_kb,$((sector * cluster)),$((free / (sector * cluster))),$root"
}

free_bytes() {
  mdir -i "$1" :: 2>/dev/null | sed -n 's/ bytes free$//p' | tr -d ' '
}

# A field of disk $1's line of the layout: 3 its label, 4 its volume label, 5 its last
# file line (counted from 0 in the order span-disks takes them).
disk_field() {
  awk -F'\t' -v n="$1" -v f="$2" '$1 == "disk" && $2 == n { print $f }' "$layout"
}

# Disk $1's directories, then its files directory by directory, onto image $2.
copy_disk() {
  local n=$1 img=$2 kind disk path dir at="" files=()
  while IFS=$'\t' read -r kind disk path; do
    [ "$disk" = "$n" ] || continue
    if [ "$kind" = dir ]; then
      mmd -i "$img" "::/$path" || return 1
      continue
    fi
    dir=$(dirname "$path")
    if [ ${#files[@]} -gt 0 ] && [ "$dir" != "$at" ]; then
      mcopy -m -Q -i "$img" "${files[@]}" "::/${at#.}" || return 1
      files=()
    fi
    at=$dir files+=("$out/$path")
  done < <(grep -v '^disk' "$layout")
  [ ${#files[@]} = 0 ] || mcopy -m -Q -i "$img" "${files[@]}" "::/${at#.}"
}

# Writes disk $1 of the layout to its image: 0 written, 2 mtools finds it full (no image
# is left), 1 another failure.
write_disk() {
  local img=$image$1.img errors
  rm -f "$img"
  mformat -C -f "$disk_kb" -N "$(printf '1998%04d' "$1")" -v "$(disk_field "$1" 4)" \
    -i "$img" :: >/dev/null || return 1
  if ! errors=$(copy_disk "$1" "$img" 2>&1 </dev/null >/dev/null); then
    rm -f "$img"
    grep -qi 'disk full\|no directory slots' <<<"$errors" && return 2
    printf '%s\n' "$errors" >&2
    return 1
  fi
}

# The table of the disks, for their paper labels.
print_disks() {
  local capacity=$(( $(cut -d, -f2 <<<"$format") * $(cut -d, -f3 <<<"$format") ))
  local width n label files free
  width=$(awk -F'\t' '$1 == "disk" && length($3) > w { w = length($3) } END { print (w > 5 ? w : 5) }' "$layout")
  printf "%4s  %-${width}s  %-11s  %5s  %10s  %10s\n" disk label volume files 'bytes used' 'bytes free'
  for n in $(awk -F'\t' '$1 == "disk" { print $2 }' "$layout"); do
    label=$(disk_field "$n" 3)
    files=$(awk -F'\t' -v n="$n" '$1 == "file" && $2 == n' "$layout" | wc -l)
    free=$(free_bytes "$image$n.img")
    printf "%4s  %-${width}s  %-11s  %5s  %10s  %10s\n" "$n" "$label" "$(disk_field "$n" 4)" \
      "$files" $((capacity - free)) "$free"
  done
}

if [ $span = 1 ]; then
  export TZ=UTC SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-898776000} MTOOLS_NO_VFAT=1
  format=$(disk_format) || { echo "make-medium: mtools cannot format a disk of $disk_kb KB" >&2; exit 1; }
  layout=$work/layout
  spanner=$(cd "$(dirname "$0")/.." && pwd)/build/checker/span-disks   # built by the check
  rm -f "$image"[0-9].img
  declare -A ends=()   # disk -> the file line it ends before, as mtools finds it full
  written=0
  trap 'rm -rf "$work"; [ $written = 1 ] || rm -f "$image"[0-9].img' EXIT
  cp "$out/SETUP.INF" "$work/sectioned"   # the script with its checksums, laid out whole
  while :; do
    set +e
    "$spanner" --disk "$format" $(for n in "${!ends[@]}"; do echo "--end $n:${ends[$n]}"; done) \
      "$work/sectioned" "$out" "$layout"
    status=$?
    set -e
    [ $status = 0 ] || exit $status
    # Files of the medium made from the script are made from the one written.
    while IFS=$'\t' read -r kind disk dir source from sum; do
      if [ "$kind" = file ] && [ "${from^^}" = SETUP.INF ] && [ "${dir^^}/${source^^}" != ./SETUP.INF ]; then
        store "$out/SETUP.INF" "$out/$dir/$source"
      fi
    done < "$work/list"
    find "$out" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    full=""
    for n in $(awk -F'\t' '$1 == "disk" { print $2 }' "$layout"); do
      set +e; write_disk "$n"; status=$?; set -e
      case $status in
        0) ;;
        2) full=$n; break ;;
        *) echo "make-medium: writing the floppy image of disk $n failed" >&2; exit 1 ;;
      esac
    done
    [ -n "$full" ] || break
    echo "make-medium: mtools finds disk $full full: its last file line goes to the next disk"
    for n in "${!ends[@]}"; do [ "$n" -le "$full" ] || unset "ends[$n]"; done
    ends[$full]=$(disk_field "$full" 5)
  done
  written=1
  disks=$(grep -c '^disk' "$layout")
  if [ "$disks" = 1 ]; then
    echo "floppy image: ${image_named}1.img (1 disk of $disk_kb KB, FAT12)"
  else
    echo "floppy images: ${image_named}1.img to $image_named$disks.img ($disks disks of $disk_kb KB, FAT12)"
  fi
  print_disks
  exit 0
fi

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
  while IFS=$'\t' read -r fkind fdisk dir source from sum; do
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
