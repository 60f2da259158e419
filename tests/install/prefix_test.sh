#!/bin/sh
# make install and make uninstall with a prefix and DESTDIR: the installed
# program runs from the staged tree on its own library and manual page, and
# uninstalling removes exactly what installing put there.
# Usage: prefix_test.sh BUILD_DIR SOURCE_DIR
BUILD=$1 SRC=$2
. "$(dirname "$0")/common.sh"

DEST="$SCRATCH/dest"
PREFIX=/opt/tessara
TREE="$DEST$PREFIX"
DESTDIR="$DEST" cmake --install "$BUILD" --prefix "$PREFIX" > "$SCRATCH/install.log" ||
    { cat "$SCRATCH/install.log"; fail "install"; }
for f in bin/tessara lib/libKalvex.so lib/libTessaraGui.so include/kalvex.h share/man/man1/tessara.1.gz \
         share/doc/tessara/examples/tour.kvx; do
    [ -e "$TREE/$f" ] || fail "missing $f"
done

# Nothing of the build folder is reachable: the program is copied away from
# it with its tree, and must find ../lib/libKalvex.so on its own.
cp -a "$TREE" "$SCRATCH/moved"
cd "$SCRATCH"
OUT=$(printf '' | "$SCRATCH/moved/bin/tessara" "/sel:'
expr = 6*7'/" /sclp 2>/dev/null) || fail "moved tessara ended with $?"
case $OUT in *"Result => Number = 42.0000"*) ;; *) fail "moved tessara printed: $OUT" ;; esac
MANPATH="$SCRATCH/moved/share/man" man -w tessara | grep -q "^$SCRATCH/moved/share/man/man1/tessara.1.gz" ||
    fail "man does not find the installed page"

# A file of someone else's beside Tessara's stays; Tessara's own folder goes.
mkdir -p "$TREE/share/doc/other"
echo keep > "$TREE/share/doc/other/notes.txt"
echo keep > "$TREE/bin/other-tool"
DESTDIR="$DEST" "$SRC/scripts/uninstall.sh" "$BUILD" "$PREFIX" > "$SCRATCH/uninstall.log" ||
    { cat "$SCRATCH/uninstall.log"; fail "uninstall"; }
LEFT=$(cd "$TREE" && find . ! -type d | sort | tr '\n' ' ')
[ "$LEFT" = "./bin/other-tool ./share/doc/other/notes.txt " ] || fail "left after uninstall: $LEFT"
[ ! -e "$TREE/share/doc/tessara" ] || fail "share/doc/tessara is left"
echo "ok"
