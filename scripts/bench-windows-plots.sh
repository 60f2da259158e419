#!/bin/sh
# The plot windows of the Windows build under Wine against the Linux build,
# on the display this runs on (bench-windows.sh starts it under xvfb-run),
# with a window manager:
#   bench-windows-plots.sh LINUX_BUILD WINDOWS_BUILD
# 1. opening and drawing the window of "plot(-2; x; 2; 400) = x^2": each side
#    runs a script of one "expr" line, one of that plot statement and one of
#    ten of them, in turn, RUNS times; the first window costs the difference
#    of the medians of the first two (the display is opened for it), each
#    further window a ninth of that of the last two;
# 2. PLOTS plot statements with /spl:0 under Wine (every window drawn,
#    captured, put on the clipboard, saved as JPEG and closed): the peak
#    memory of the process, and its live GDI objects and windows once the
#    first 100 plots are done and at the end, read from Wine's own trace of
#    GDI handles and windows.
set -e
cd "$(dirname "$0")/.."
LINUX=$1
WIN=$2
RUNS=${RUNS:-15}
PLOTS=${PLOTS:-1000}
export TESSARA_WINE_PREFIX=wineprefix-bench # a Wine desktop on this display
prefix="$PWD/$WIN/$TESSARA_WINE_PREFIX"
work=$(mktemp -d)
holder=
manager=
cleanup() {
    [ -n "$holder" ] && kill "$holder" 2> /dev/null
    [ -n "$manager" ] && kill "$manager" 2> /dev/null
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
winwork="Z:$(echo "$work" | tr / '\\')"
. scripts/bench-timing.sh

# A window manager frames the windows, as on a desktop; it manages windows
# once it has announced itself on the root window.
openbox > /dev/null 2>&1 &
manager=$!
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' || [ $tries -ge 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
done

# The Wine session stays up for the whole run (a command interpreter waiting
# on a pipe), so that no run pays for starting Wine's desktop.
scripts/wine-run.sh "$WIN" cmd /c exit > /dev/null 2>&1
mkfifo "$work/hold"
scripts/wine-run.sh "$WIN" cmd < "$work/hold" > /dev/null 2>&1 &
holder=$!
exec 3> "$work/hold"

printf 'expr = 1\r\n' > "$work/none.kvx"
printf 'plot(-2; x; 2; 400) = x^2\r\n' > "$work/one.kvx"
awk 'BEGIN { for (i = 0; i < 10; i++) printf "plot(-2; x; 2; 400) = x^2\r\n" }' > "$work/ten.kvx"
linux() { env XDG_CONFIG_HOME="$work" "$LINUX/bin/tessara" /i "$work/$1.kvx" /o "$work/$1-linux.kvx"; }
windows() { scripts/wine-run.sh "$WIN" "$WIN/bin/Tessara.exe" /i "$winwork\\$1.kvx" /o "$winwork\\$1-windows.kvx"; }
for side in linux windows; do for script in none one ten; do : > "$work/$side-$script.ms"; done; done
i=0
while [ $i -lt "$RUNS" ]; do
    for side in linux windows; do
        for script in none one ten; do wall_ms $side $script >> "$work/$side-$script.ms"; done
    done
    i=$((i + 1))
done
m() { median < "$work/$1-$2.ms"; }
first() { awk -v a="$(m "$1" one)" -v b="$(m "$1" none)" 'BEGIN { printf "%.0f", a - b }'; }
further() { awk -v a="$(m "$1" ten)" -v b="$(m "$1" one)" 'BEGIN { printf "%.1f", (a - b) / 9 }'; }
echo "plot(-2; x; 2; 400) = x^2, opening and drawing its window (medians of $RUNS runs; goal: Wine within 2x):"
echo "  the first window of a run (the display opened for it): Linux $(first linux) ms, Windows under Wine $(first windows) ms: ratio $(ratio "$(first windows)" "$(first linux)")"
echo "  each further window: Linux $(further linux) ms, Windows under Wine $(further windows) ms: ratio $(ratio "$(further windows)" "$(further linux)")"

# PLOTS screenshots in one process, traced. The trace gives the live count of
# GDI handles with every allocation and release ("allocated ... n/65536"),
# and every window made and freed; the thread that makes the plot windows is
# the program's. The screenshots go to the input file's folder.
mkdir "$work/shots"
awk -v n="$PLOTS" 'BEGIN { for (i = 1; i <= n; i++) printf "plot(0; x; 1; 50) = x^2+%d\r\n", i }' > "$work/shots/many.kvx"
WINEPREFIX="$prefix" WINEDEBUG=+gdi,+win WINEDLLOVERRIDES="mscoree,mshtml=" \
    /usr/bin/time -f 'peak %M' -o "$work/peak" /usr/lib/wine/wine64 "$WIN/bin/Tessara.exe" \
    /i "$winwork\\shots\\many.kvx" /o "$winwork\\many-out.kvx" /spl:0 2>&1 > /dev/null |
    awk '{ tid = $1; sub(/:.*/, "", tid) }
         /:alloc_gdi_handle allocated |:free_gdi_handle freed / { split($NF, c, "/"); gdi[tid] = c[1] }
         /:NtUserCreateWindowEx created window/ { windows[tid]++ }
         /:free_window_handle/ { windows[tid]-- }
         /:WIN_CreateWindowEx "aPlot #101" / { plotter = tid; early_gdi = gdi[tid]; early_windows = windows[tid] }
         END { print early_gdi, early_windows, gdi[plotter], windows[plotter] }' > "$work/counts"
shots=$(ls "$work/shots" | grep -c '^aPlotNr_.*\.jpg$' || true)
read -r early_gdi early_windows end_gdi end_windows < "$work/counts"
peak_kb=$(sed -n 's/^peak //p' "$work/peak")
echo "$PLOTS plot statements with /spl:0 under Wine: $shots JPEG files; peak memory $((peak_kb / 1024)) MB (goal < 200)"
echo "  live GDI objects after 100 plots $early_gdi, at the end $end_gdi; windows of the program's thread after 100 plots $early_windows, at the end $end_windows (goal: no growth)"
exec 3>&-
[ "$shots" -eq "$PLOTS" ] && [ "$end_gdi" -le "$early_gdi" ] && [ "$end_windows" -le "$early_windows" ]
