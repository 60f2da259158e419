# Timing helpers of the benchmark scripts, sourced by them.

# Milliseconds of wall time of a command, its output discarded.
wall_ms() {
    start=$(date +%s%N)
    "$@" > /dev/null 2>&1 || true
    echo $((($(date +%s%N) - start) / 1000000))
}

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# a / b with two decimals (0 when b is not above 0).
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0) ? a / b : 0 }'; }
