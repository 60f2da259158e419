#!/bin/sh
# Installs what the Windows builds, their tests under Wine and their installer
# need: the mingw-w64 cross compilers (posix thread model), NSIS, and Wine with
# its 32-bit half (which needs the i386 architecture), and time for the
# benchmark's processor times. Safe to run repeatedly.
set -e
PACKAGES="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix nsis wine wine64 wine32:i386 zip unzip time"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
updated=""
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    $SUDO apt-get update -qq
    updated=1
fi
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
[ -n "$updated" ] || $SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
