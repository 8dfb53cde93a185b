#!/usr/bin/env bash
# Every tool answers --help at once with its usage and its exit codes, and does nothing
# else (no build, no package installed: each must be done within seconds).
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
fail=0
for tool in "$top"/tools/*.sh; do
  name=$(basename "$tool")
  [ "$name" = usage.sh ] && continue
  out=$(cd /tmp && timeout 10 bash "$tool" --help 2>&1)
  status=$?
  if [ $status -ne 0 ] || ! grep -q "$name" <<<"$out" || ! grep -q 'Exit code' <<<"$out"; then
    echo "FAIL: $name --help: exit code $status, output:"; echo "$out" | head -3; fail=1
  fi
done
[ $fail = 0 ] && echo "every tool answers --help"
exit $fail
