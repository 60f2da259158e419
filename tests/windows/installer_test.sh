#!/bin/sh
# The installer under Wine: installer_test.sh BUILD SETUP. Installs SETUP
# silently, checks the files and Start-menu entries, runs the installed
# Tessara.exe on the example, uninstalls silently and checks that nothing
# of it is left. Prints "N passed, N failed".
cd "$(dirname "$0")/../.."
BUILD=$1
SETUP=$2
run() { scripts/wine-run.sh "$BUILD" "$@"; }
prefix=$BUILD/wineprefix
passed=0
failed=0
check() { # description, command...
    what=$1
    shift
    if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "installer: FAILED: $what"; fi
}
# Waits up to 60 seconds for a command to succeed.
wait_for() {
    i=0
    until "$@"; do
        i=$((i + 1))
        [ $i -ge 600 ] && return 1
        sleep 0.1
    done
}
gone() { [ ! -e "$1" ]; }

run "$SETUP" /S
case "$(file -b "$BUILD/bin/Tessara.exe")" in
    PE32+*) programs="Program Files" ;;
    *) [ -d "$prefix/drive_c/Program Files (x86)" ] && programs="Program Files (x86)" || programs="Program Files" ;;
esac
home="$prefix/drive_c/$programs/Tessara"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tessara"
for file in Tessara.exe Kalvex.dll README.txt docs/user-guide.txt docs/language.txt examples/tour.kvx Uninstall.exe; do
    check "installed $file" test -f "$home/$file"
done
for link in "Tessara Setup.lnk" "Tessara user guide.lnk" "Uninstall Tessara.lnk"; do
    check "Start-menu entry $link" test -f "$menu/$link"
done
# The setup entry starts the installed program with /w (the link's texts are
# UTF-16: without their zero bytes they read as plain text).
check "Start-menu entry Tessara Setup runs Tessara.exe /w" \
    sh -c "tr -d '\\000' < '$menu/Tessara Setup.lnk' | grep -a -q 'Tessara\\\\Tessara\\.exe.*/w\$'"

# The installed program runs the example. Wine quotes an argument with a
# blank, and a quote would be part of the name, so the names are given
# relative to the installed folder, the current one.
build=$(cd "$BUILD" && pwd)
out=$build/installed-out.kvx
rm -f "$out"
(cd "$home" && "$OLDPWD/scripts/wine-run.sh" "$build" Tessara.exe /i examples\\tour.kvx \
    /o installed-out.kvx > /dev/null 2>&1 && mv installed-out.kvx "$out")
check "the installed Tessara.exe runs the example" grep -q "Executed Commands: [1-9]" "$out"

run "C:\\$programs\\Tessara\\Uninstall.exe" /S
# The uninstaller goes on from a copy of itself: wait for its work.
check "uninstalled the folder" wait_for gone "$home"
check "uninstalled the Start-menu entries" wait_for gone "$menu"
check "uninstalled the registry entry" sh -c "! scripts/wine-run.sh '$BUILD' reg query \
    'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessara' > /dev/null 2>&1"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
