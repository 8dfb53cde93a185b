#!/bin/sh
# Runs one fuzzer for a bounded time. An input that makes it fail is copied into
# tests/native/regressions/TARGET/ (to be committed, so that it is replayed from then
# on) and shown as hex in the log, which is all a CI run leaves behind.
#   fuzz-run.sh FUZZER SECONDS WORKDIR SEEDS REGRESSIONS
fuzzer=$1; seconds=$2; work=$3; seeds=$4; keep=$5
mkdir -p "$work/corpus" "$work/crashes" "$keep"
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/crashes/" \
  "$work/corpus" "$seeds"
status=$?
for input in "$work"/crashes/*; do
  [ -f "$input" ] || continue
  cp "$input" "$keep/"
  echo "failing input kept as $keep/$(basename "$input"):"
  od -A d -t x1 "$input" | head -40
done
exit $status
