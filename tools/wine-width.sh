# Sourced: which Wine this machine can run, and how to call it.
# Which Wine this machine can run, and how to call it. Sourced by the other tools for
# its two functions; run on its own it prints win32 or win64:
#   wine-width.sh
# Some virtual machines cannot execute i386 code at all (their kernels refuse 32-bit
# programs), and so cannot run the 32-bit Wine. There the Windows side runs as the
# 64-bit twin build under the 64-bit Wine. Exit code: 0.

# Prints win32 when i386 programs run here, win64 otherwise (needs libc6:i386).
wine_width() {
  if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then echo win32; else echo win64; fi
}

# use_wine WIDTH BINDIR: exports WINEARCH; for win64 also a wine command in BINDIR,
# first on the PATH, that runs the 64-bit loader (Debian's wine command takes the
# 32-bit one whenever it is installed, runnable or not).
use_wine() {
  export WINEARCH=$1
  if [ "$1" = win64 ]; then
    mkdir -p "$2"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$2/wine"
    chmod +x "$2/wine"
    export PATH="$2:$PATH" WINELOADER=/usr/lib/wine/wine64
  fi
}

# Run on its own: --help, or the width.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  . "$(dirname "$0")/usage.sh"
  wine_width
fi
