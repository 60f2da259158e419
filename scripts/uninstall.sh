#!/bin/sh
# Removes what the install rules of the build folder put under a prefix
# (below $DESTDIR when set): the list of files comes from an install into a
# scratch folder, so it is the same list that installing used.
# Usage: uninstall.sh BUILD PREFIX
set -e
BUILD=${1:?build folder}
PREFIX=${2:?install prefix}
STAGE=$(mktemp -d)
trap 'rm -rf "$STAGE"' EXIT
DESTDIR="$STAGE" cmake --install "$BUILD" --prefix "$PREFIX" > /dev/null
ROOT="${DESTDIR:-}$PREFIX"
case $ROOT in /*) ;; *) ROOT="$(pwd)/$ROOT" ;; esac
cd "$STAGE$PREFIX"
find . ! -type d | while read -r f; do
    if [ -e "$ROOT/$f" ] || [ -L "$ROOT/$f" ]; then
        rm -f "$ROOT/$f"
        echo "-- Removed: $ROOT/${f#./}"
    fi
done
# Only the folder that belongs to Tessara alone goes too, once it is empty.
[ -d "$ROOT/share/doc/tessara" ] && find "$ROOT/share/doc/tessara" -depth -type d -empty -delete
exit 0
