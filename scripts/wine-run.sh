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
case "$(file -b "$build/bin/Tessara.exe")" in
    PE32+*) loader=/usr/lib/wine/wine64 ;;
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
