#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing:
#   install-deps.sh
# Needs root (or sudo) and Debian's package archive; adds the i386 architecture for
# the 32-bit Wine. Changes the machine: dpkg's architectures and the packages installed
# (nothing is removed). Exit codes: 0 everything there; non-zero when apt-get failed.
. "$(dirname "$0")/usage.sh"
set -eu
need=""
apt_install() { $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in mingw-w64 cmake make xvfb imagemagick mscompress googletest wine xauth x11-utils mtools dosfstools xorriso clang libclang-rt-14-dev; do
  have "$p" || need="$need $p"
done
have wine32:i386 || need="$need wine32:i386"
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
if [ -n "$need" ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  # A mirror caught mid-sync fails some indices; the install below still says whether
  # the packages could be had from the ones that came.
  $SUDO apt-get update -qq || echo "install-deps: apt-get update failed in part; installing from the indices there" >&2
  if ! apt_install $need; then
    # When one architecture's update index did not come, the two architectures'
    # candidates differ and nothing installs; the release's own suite came for both.
    . /etc/os-release
    echo "install-deps: installing from $VERSION_CODENAME's own suite" >&2
    apt_install -t "$VERSION_CODENAME" $need
  fi
fi
# A machine that cannot run i386 code runs the Windows side under the 64-bit Wine.
. "$(dirname "$0")/wine-width.sh"
if [ "$(wine_width)" = win64 ] && ! have wine64; then
  apt_install wine64 || { $SUDO apt-get update -qq || true; apt_install wine64; }
fi
