#!/bin/sh
# make test-windows: builds the Windows build with its tests (mingw-w64,
# GoogleTest from Debian's sources) and runs them under Wine with a prefix
# private to the build folder, then runs the example once with the other
# architecture's pair, and runs the end-to-end suites of the Linux build
# (ctest label e2e) against the tested pair's Tessara.exe.
# test-windows.sh ARCH JOBS [LINUX_BUILD]
#
# Wine's i386 loader needs a kernel that runs 32-bit Linux programs; where
# it cannot start, the 32-bit pair is built and checked but the suite runs
# on the 64-bit pair, and this is said.
set -e
cd "$(dirname "$0")/.."
ARCH=${1:-i686}
JOBS=${2:-2}
LINUX_BUILD=${3:-build}
if [ "$ARCH" = i686 ] && ! /usr/lib/wine/wine --version > /dev/null 2>&1; then
    echo "test-windows: this system cannot run Wine's 32-bit loader; the suite runs on the x86_64 build"
    ARCH=x86_64
fi
if [ "$ARCH" = x86_64 ]; then BUILD=build-windows64; OTHER=i686; OTHER_BUILD=build-windows
else BUILD=build-windows; OTHER=x86_64; OTHER_BUILD=build-windows64; fi

configure() { # build folder, architecture, tests
    cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE=cmake/Windows.cmake -DTESSARA_WINDOWS_ARCH="$2" \
          -DCMAKE_BUILD_TYPE=Release -DTESSARA_WINDOWS_TESTS="$3" > /dev/null
    cmake --build "$1" -j "$JOBS"
}
configure "$BUILD" "$ARCH" ON
configure "$OTHER_BUILD" "$OTHER" OFF

# Only system DLLs: the compiler's runtime is linked in.
for file in "$BUILD"/bin/Tessara.exe "$BUILD"/bin/Kalvex.dll "$OTHER_BUILD"/bin/Tessara.exe "$OTHER_BUILD"/bin/Kalvex.dll; do
    foreign=$(objdump -p "$file" | sed -n 's/^\tDLL Name: //p' |
              grep -viE '^(kernel32|user32|shell32|msvcrt|version|gdi32|comctl32|comdlg32|ole32|advapi32)\.dll$' || true)
    if [ -n "$foreign" ]; then echo "test-windows: $file needs $foreign"; exit 1; fi
done

# The prefixes' servers end with the script, however it ends.
end_servers() {
    for prefix in "$BUILD/wineprefix" "$OTHER_BUILD/wineprefix" "$BUILD/wineprefix-display"; do
        [ -d "$prefix" ] && WINEPREFIX="$PWD/$prefix" /usr/lib/wine/wineserver -k 2> /dev/null || true
    done
}
trap end_servers EXIT

# The prefix once, and one Wine server for the whole run: the server of the
# first start is waited out, as a server that is ending resets the
# connections of programs that start meanwhile; the persistent one that
# follows stays until the end. Its session's own processes start with a
# program whose output goes nowhere, as they keep the output pipes of the
# program that started them open while they live.
scripts/wine-run.sh "$BUILD" cmd /c exit
WINEPREFIX="$PWD/$BUILD/wineprefix" /usr/lib/wine/wineserver -w
WINEPREFIX="$PWD/$BUILD/wineprefix" /usr/lib/wine/wineserver -p
scripts/wine-run.sh "$BUILD" cmd /c exit > /dev/null 2>&1
status=0
(cd "$BUILD" && ctest -j "$JOBS" --output-on-failure) || status=$?
# The same end-to-end cases as on Linux, with Tessara.exe as the program.
windows_build=$PWD/$BUILD
(cd "$LINUX_BUILD" && TESSARA_TEST_WINDOWS="$windows_build" ctest -L e2e -j "$JOBS" --output-on-failure) || status=$?
# The GUI suites that run the real program (label program-gui), each on a
# virtual display of its own, one after the other: a prefix's Wine desktop
# keeps the display it started with, so its server ends between them.
display_prefix="$windows_build/wineprefix-display"
TESSARA_WINE_PREFIX=wineprefix-display scripts/wine-run.sh "$BUILD" cmd /c exit
for suite in $(cd "$LINUX_BUILD" && ctest -N -L program-gui | sed -n 's/^ *Test *#[0-9]*: //p'); do
    WINEPREFIX="$display_prefix" timeout 60 /usr/lib/wine/wineserver -w || true
    (cd "$LINUX_BUILD" && TESSARA_TEST_WINDOWS="$windows_build" ctest -R "^$suite\$" --output-on-failure) || status=$?
done

# The other pair, where it can run: the example once, compared with this one.
if [ "$OTHER" = i686 ] && ! /usr/lib/wine/wine --version > /dev/null 2>&1; then
    echo "test-windows: the i686 pair is built and checked, not run"
else
    for build in "$BUILD" "$OTHER_BUILD"; do
        rm -f "$build/example-out.kvx"
        scripts/wine-run.sh "$build" "$build/bin/Tessara.exe" /i 'examples\tour.kvx' /o "$build\\example-out.kvx" \
            > /dev/null 2>&1 || status=1
        sed 's#[0-9][0-9]/[0-9][0-9]/[0-9]* - [0-9:]*#DD/MM/YYYY - hh:mm:ss#' "$build/example-out.kvx" > "$build/example-out.masked"
    done
    cmp "$BUILD/example-out.masked" "$OTHER_BUILD/example-out.masked" || status=1
fi
# The installer: made for the tested pair, installed and removed under Wine.
./scripts/package-windows.sh "$BUILD" "$ARCH" > /dev/null
tests/windows/installer_test.sh "$BUILD" "$BUILD"/Tessara-*-setup.exe || status=1
exit $status
