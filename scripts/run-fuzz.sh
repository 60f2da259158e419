#!/bin/sh
# Runs every fuzz target of the build folder $1 for $2 seconds each, starting
# from the corpus kept in fuzz/corpus/<target> (new inputs go to a scratch
# copy, and the targets run in a scratch folder without a display). Prints the executions of
# each target; fails on the first broken promise or sanitizer report.
set -e
BUILD=$1
SECONDS_EACH=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in eval define matrix solve derivative integrate script; do
    mkdir -p "$scratch/$target/corpus" "$scratch/$target/run"
    cp "$root/fuzz/corpus/$target/"* "$scratch/$target/corpus/"
    log="$scratch/$target.log"
    if (cd "$scratch/$target/run" && env -u DISPLAY -u WAYLAND_DISPLAY "$root/$BUILD/bin/fuzz_$target" -max_total_time="$SECONDS_EACH" \
            -max_len=4096 -timeout=30 -rss_limit_mb=3072 -print_final_stats=1 "$scratch/$target/corpus" > "$log" 2>&1); then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz_$target: $runs executions in $SECONDS_EACH s, no broken promise"
    else
        echo "fuzz_$target: FAILED"
        grep -v '^#' "$log" | tail -40
        mkdir -p "$root/$BUILD/fuzz-failures"
        cp "$scratch/$target/run/"crash-* "$scratch/$target/run/"timeout-* "$scratch/$target/run/"oom-* \
           "$root/$BUILD/fuzz-failures/" 2>/dev/null || true
        exit 1
    fi
done
