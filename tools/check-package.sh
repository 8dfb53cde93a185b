#!/usr/bin/env bash
# Checks a package directory before a medium is made of it:
#   check-package.sh [--list FILE] PACKAGE_DIR
#   check-package.sh --show SCRIPT
#   check-package.sh --checksum FILE...
# Its SETUP.INF is read with the rules of SETUP.EXE's own script loader, built natively
# from the same sources (tools/checker). Prints one line per finding, "error: ..." or
# "warning: ..."; a [Checksums] section in the script is held against the package's
# files (a mismatch is an error, with --list a warning: the medium gets it anew). With
# --list, FILE receives (is overwritten with) the disks and files a medium is made of;
# --show prints what the program loads from SCRIPT, value by value; --checksum prints
# each file's size and CRC-32 as [Checksums] holds them ("SIZE,CRC").
# The checker is built in build/checker first; a missing compiler or CMake is installed.
# Exit codes: 0 no error (warnings allowed); 1 an error; 2 the checker cannot be built.
. "$(dirname "$0")/usage.sh"
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/build/checker
need=""
command -v cmake >/dev/null || need="$need cmake"
command -v make >/dev/null || need="$need make"
command -v c++ >/dev/null || command -v g++ >/dev/null || command -v clang++ >/dev/null ||
  need="$need g++"
if [ -n "$need" ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  # An index that fails to come (a mirror mid-sync) leaves the install to say.
  { $SUDO apt-get update -qq || true; $SUDO apt-get install -y -qq --no-install-recommends $need >/dev/null; } ||
    { echo "check-package: cannot install$need" >&2; exit 2; }
fi
# Called from a build, the outer make's job server is not ours.
unset MAKEFLAGS MFLAGS MAKELEVEL
mkdir -p "$out"
(
  flock 9
  if [ ! -f "$out/CMakeCache.txt" ]; then
    cmake -S "$top/tools/checker" -B "$out" -DCMAKE_BUILD_TYPE=Release >"$out/build.log" 2>&1 || exit 1
  fi
  cmake --build "$out" >"$out/build.log" 2>&1
) 9>"$out/.lock" || { cat "$out/build.log" >&2; echo "check-package: the checker cannot be built" >&2; exit 2; }
exec "$out/check-package" "$@"
