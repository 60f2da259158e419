#!/bin/sh
# Builds the Debian package, unpacks it with dpkg -x into a scratch root and
# runs the installed tessara on the installed example script from there: it
# must find its own copy of the numeric library (and of the window module
# when a plot wants a window) and give the output of the build tree's program.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR TESSARA
BUILD=$1 SRC=$2 TESSARA=$3
. "$(dirname "$0")/common.sh"

(cd "$BUILD" && cpack -G DEB -B "$SCRATCH/pkg") > "$SCRATCH/cpack.log" 2>&1 ||
    { cat "$SCRATCH/cpack.log"; fail "cpack"; }
set -- "$SCRATCH"/pkg/*.deb
[ $# -eq 1 ] || fail "expected one package, got: $*"
DEB=$1
VERSION=$(dpkg-deb -f "$DEB" Version)
[ "$(basename "$DEB")" = "tessara_${VERSION}_amd64.deb" ] || fail "package name $(basename "$DEB")"
[ "$(dpkg-deb -f "$DEB" Package)" = tessara ] || fail "package field"

ROOT="$SCRATCH/root"
dpkg -x "$DEB" "$ROOT"
for f in usr/bin/tessara usr/lib/libKalvex.so.$VERSION usr/lib/libTessaraGui.so usr/include/kalvex.h \
         usr/share/man/man1/tessara.1.gz usr/share/doc/tessara/README.md \
         usr/share/doc/tessara/docs/user-guide.md usr/share/doc/tessara/docs/language.md \
         usr/share/doc/tessara/examples/tour.kvx usr/share/doc/tessara/examples/tour-files/cubic.txt; do
    [ -f "$ROOT/$f" ] || fail "missing $f"
done
MAJOR=${VERSION%%.*}
[ "$(readlink "$ROOT/usr/lib/libKalvex.so")" = "libKalvex.so.$MAJOR" ] || fail "libKalvex.so link"
[ "$(readlink "$ROOT/usr/lib/libKalvex.so.$MAJOR")" = "libKalvex.so.$VERSION" ] || fail "soname link"
readelf -d "$ROOT/usr/lib/libKalvex.so.$VERSION" | grep -q "SONAME.*\[libKalvex.so.$MAJOR\]" || fail "soname"
readelf -d "$ROOT/usr/bin/tessara" | grep -q 'RUNPATH.*\[\$ORIGIN:\$ORIGIN/\.\./lib\]' || fail "run path"

# Every library the binaries need comes from a package the package depends on.
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for elf in "$ROOT/usr/bin/tessara" "$ROOT/usr/lib/libKalvex.so.$VERSION" "$ROOT/usr/lib/libTessaraGui.so"; do
    for lib in $(readelf -d "$elf" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        owners=$(dpkg -S "*/$lib" 2>/dev/null | sed 's/[:,].*//' | sort -u)
        [ -n "$owners" ] || fail "no package holds $lib"
        found=no
        for p in $owners; do
            case ", $DEPENDS" in *", $p "* | *", $p,"* | *", $p") found=yes ;; esac
        done
        [ $found = yes ] || fail "$lib ($owners) is not in Depends: $DEPENDS"
    done
done

# The installed program on the installed example, the library found through
# the run path inside the scratch root.
mkdir "$SCRATCH/work"
cd "$SCRATCH/work"
LD_DEBUG=libs "$ROOT/usr/bin/tessara" /i "$ROOT/usr/share/doc/tessara/examples/tour.kvx" \
    /o "$SCRATCH/work/installed.kvx" < /dev/null 2> "$SCRATCH/loader.log" ||
    fail "installed tessara ended with $?"
grep -q "calling init: $ROOT/usr/.*libKalvex.so" "$SCRATCH/loader.log" ||
    fail "libKalvex.so was not loaded from the scratch root"
! grep -q "libTessaraGui.so" "$SCRATCH/loader.log" || fail "a run without windows loaded the window module"
# A plot wants a window: the window module comes from the scratch root too.
printf 'plot(0; x; 1; 4) = x\r\n' > plot.kvx
DISPLAY=:97531 LD_DEBUG=libs "$ROOT/usr/bin/tessara" /i plot.kvx /o plotted.kvx < /dev/null \
    2> "$SCRATCH/plot-loader.log" || fail "installed tessara ended with $? on a plot"
grep -q "calling init: $ROOT/usr/.*libTessaraGui.so" "$SCRATCH/plot-loader.log" ||
    fail "libTessaraGui.so was not loaded from the scratch root"
"$TESSARA" /i "$SRC/examples/tour.kvx" /o "$SCRATCH/work/built.kvx" < /dev/null ||
    fail "built tessara ended with $?"
grep -q "^'Input file: $ROOT/usr/share/doc/tessara/examples/tour.kvx" installed.kvx ||
    fail "header of the installed run"
stable_output installed.kvx > installed.txt
stable_output built.kvx > built.txt
cmp installed.txt built.txt || fail "the installed run differs from the built one"
grep -q "Result => " installed.txt || fail "no result blocks"
echo "ok: $(basename "$DEB"), Depends: $DEPENDS"
