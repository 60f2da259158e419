#!/bin/sh
# Installs the Debian packages that building, testing and benchmarking need,
# skipping the ones already present. Safe to run repeatedly.
set -e
PACKAGES="g++ cmake make pkg-config libfltk1.3-dev libjpeg62-turbo-dev libpng-dev libeigen3-dev
libboost-math-dev libxfixes-dev libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev bc
xvfb xauth xclip xdotool x11-utils x11-apps imagemagick fonts-dejavu-core fluid
dpkg-dev file man-db groff-base vim-tiny openbox clang libclang-rt-14-dev"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
