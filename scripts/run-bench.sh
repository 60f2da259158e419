#!/bin/sh
# Runs every benchmark program that the build produced (bench_* in bin/).
set -e
BUILD=${1:-build}
status=0
for b in "$BUILD"/bin/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" || status=1
done
exit $status
