# Sourced by every tool first: with --help (or -h) as the first argument, prints the
# tool's leading comment (its usage) and ends it with exit code 0.
if [ "${1:-}" = --help ] || [ "${1:-}" = -h ]; then
  awk 'NR == 1 { next } /^#/ { sub(/^# ?/, ""); print; next } { exit }' "$0"
  exit 0
fi
