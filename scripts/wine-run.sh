#!/bin/sh
# Runs a Windows program under Wine: wine-run.sh BUILD PROGRAM [ARGUMENTS].
# The prefix is private to the build folder BUILD (made on first use, once
# even when tests start in parallel): BUILD/wineprefix, or the folder named
# by TESSARA_WINE_PREFIX in BUILD. Programs that need a display get a prefix
# of their own, as a prefix's Wine desktop keeps the display it started
# with. Wine's debug output is off. 32-bit
# programs go to Wine's 32-bit loader, 64-bit ones to its 64-bit loader.
set -e
build=$(cd "$1" && pwd)
shift
export WINEPREFIX="$build/${TESSARA_WINE_PREFIX:-wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The magic of the PE optional header (at the offset the DOS header names,
# plus 24) is 020b for a 64-bit program; read with od, as file(1) took a
# third of the processor time of each start.
exe="$build/bin/Tessara.exe"
header=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
case "$(od -An -tx2 -j$((header + 24)) -N2 "$exe" | tr -d ' ')" in
    020b) loader=/usr/lib/wine/wine64 ;;
    *) loader=/usr/lib/wine/wine ;;
esac
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$loader" wineboot -i > "$WINEPREFIX.log" 2>&1 || true
        /usr/lib/wine/wineserver -w
    fi
) 9> "$WINEPREFIX.lock"
exec "$loader" "$@"
