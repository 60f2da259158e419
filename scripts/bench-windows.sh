#!/bin/sh
# make bench-windows: the Windows build under Wine against itself and
# against the Linux build, both sides in the same run.
#   bench-windows.sh LINUX_BUILD WINDOWS_BUILD
# 1. start to exit of Tessara.exe on a one-line script against a launch of
#    "cmd /c exit" under the same Wine: medians of 50 runs each;
# 2. 100,000 expr lines: the outputs byte for byte (run time and input file
#    lines masked) and the processor time of each build, whole and less the
#    processor time of a one-line run (the start, Wine's own included);
#    averages of REPEAT runs (5).
# 3. and 4. the plot windows (bench-windows-plots.sh).
set -e
cd "$(dirname "$0")/.."
LINUX=$1
WIN=$2
if [ "$(od -An -tx2 -j$(($(od -An -tu4 -j60 -N4 "$WIN/bin/Tessara.exe") + 24)) -N2 "$WIN/bin/Tessara.exe" | tr -d ' ')" != 020b ] &&
   ! /usr/lib/wine/wine --version > /dev/null 2>&1; then
    echo "bench-windows: this system cannot run Wine's 32-bit loader; measure the 64-bit build: make bench-windows ARCH=x86_64"
    exit 2
fi
RUNS=${RUNS:-50}
LINES=${LINES:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() { scripts/wine-run.sh "$WIN" "$@"; }
. scripts/bench-timing.sh

printf 'expr = 1 + 2\r\n' > "$work/one.kvx"
run cmd /c exit > /dev/null 2>&1 # the prefix, before anything is timed
# One server for the timed runs: a server that is still running refuses -p,
# so the one of the start above is waited out first.
WINEPREFIX="$PWD/$WIN/wineprefix" /usr/lib/wine/wineserver -w
WINEPREFIX="$PWD/$WIN/wineprefix" /usr/lib/wine/wineserver -p 60
: > "$work/tessara.ms"
: > "$work/cmd.ms"
i=0
while [ $i -lt "$RUNS" ]; do
    wall_ms run "$WIN/bin/Tessara.exe" /i "Z:$(echo "$work" | tr / '\\')\\one.kvx" /o "Z:$(echo "$work" | tr / '\\')\\one-out.kvx" >> "$work/tessara.ms"
    wall_ms run cmd /c exit >> "$work/cmd.ms"
    i=$((i + 1))
done
tessara=$(median < "$work/tessara.ms")
cmd=$(median < "$work/cmd.ms")
echo "one-line script under Wine: Tessara.exe ${tessara} ms, cmd /c exit ${cmd} ms (medians of $RUNS): ratio $(ratio "$tessara" "$cmd") (goal <= 1.5)"

awk -v n="$LINES" 'BEGIN { for (i = 1; i <= n; i++) printf "expr = %d * 3 + sqrt(%d) / 7\r\n", i, i }' > "$work/many.kvx"
# Seconds of processor time (user + system) of one run of a command: the
# average of REPEAT runs measured together, as the clock counts in 10 ms.
REPEAT=${REPEAT:-5}
cpu() {
    /usr/bin/time -f '%U %S' -o "$work/time" sh -c 'i=0; while [ $i -lt "$0" ]; do "$@" > /dev/null 2>&1; i=$((i + 1)); done' \
        "$REPEAT" "$@" || true
    awk -v n="$REPEAT" '{ printf "%.3f", ($1 + $2) / n }' "$work/time"
}
winwork="Z:$(echo "$work" | tr / '\\')"
linux_cpu() { cpu env XDG_CONFIG_HOME="$work" "$LINUX/bin/tessara" /i "$work/$1.kvx" /o "$work/$1-linux.kvx"; }
windows_cpu() { cpu scripts/wine-run.sh "$WIN" "$WIN/bin/Tessara.exe" /i "$winwork\\$1.kvx" /o "$winwork\\$1-windows.kvx"; }
linux=$(linux_cpu many)
windows=$(windows_cpu many)
# What a start costs each side (Wine's own start included): a one-line run.
linux_start=$(linux_cpu one)
windows_start=$(windows_cpu one)
net() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (a > b) ? a - b : 0 }'; }
mask() { grep -av "^'BatchRun\|^'Input file" "$1"; }
mask "$work/many-linux.kvx" > "$work/linux.masked"
mask "$work/many-windows.kvx" > "$work/windows.masked"
if cmp -s "$work/linux.masked" "$work/windows.masked"; then same="byte-identical"; else same="DIFFERENT"; fi
echo "$LINES expr lines: outputs $same (run time and input file lines masked)"
echo "  processor time: Linux ${linux} s, Windows under Wine ${windows} s: ratio $(ratio "$windows" "$linux") (goal <= 1.5)"
echo "  less a one-line run of each (Linux ${linux_start} s, Wine ${windows_start} s): Linux $(net "$linux" "$linux_start") s, Windows $(net "$windows" "$windows_start") s: ratio $(ratio "$(net "$windows" "$windows_start")" "$(net "$linux" "$linux_start")")"
WINEPREFIX="$PWD/$WIN/wineprefix" /usr/lib/wine/wineserver -k 2> /dev/null || true

# 3. and 4.: plot windows, on a virtual full-HD display of their own.
plots=0
xvfb-run -a -s "-screen 0 1920x1080x24" scripts/bench-windows-plots.sh "$LINUX" "$WIN" || plots=$?
[ "$same" = byte-identical ] && [ $plots -eq 0 ]
