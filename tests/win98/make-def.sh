#!/usr/bin/env bash
# The export table of W9X.DLL: each hook of the sources under the name of the function
# it stands for, and every other function the programs import from the DLLs it replaces
# forwarded to the DLL they named.
#   make-def.sh IMPORTS OUT.def SOURCE...
# IMPORTS holds "DLL FUNCTION" lines (patch_imports --list). Exit codes: 0 written;
# 2 usage.
set -eu
[ $# -ge 3 ] || { echo "usage: $0 IMPORTS OUT.def SOURCE..." >&2; exit 2; }
imports=$1 out=$2; shift 2
hooks=$(grep -ohE 'WINAPI W9X_[A-Za-z0-9_]+\(' "$@" | sed 's/^WINAPI W9X_//; s/($//' | sort -u)
{
  echo "LIBRARY W9X.DLL"
  echo "EXPORTS"
  for h in $hooks; do echo "  $h = W9X_$h"; done
  while read -r dll function; do
    printf '%s\n' $hooks | grep -qx "$function" || echo "  $function = $dll.$function"
  done < "$imports"
} > "$out.new"
mv "$out.new" "$out"
