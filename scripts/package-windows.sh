#!/bin/sh
# make package-windows: the zip and the NSIS installer of a Windows build.
# package-windows.sh BUILD ARCH (i686 or x86_64) makes
#   BUILD/Tessara-<version>-win32.zip (win64 for x86_64) with Tessara.exe,
#   Kalvex.dll, README.txt, docs/ (the user guide and language reference as
#   text with CR LF line ends) and examples/, and
#   BUILD/Tessara-<version>-win32-setup.exe.
set -e
cd "$(dirname "$0")/.."
BUILD=$1
ARCH=${2:-i686}
[ "$ARCH" = x86_64 ] && platform=win64 || platform=win32
version=$(sed -n 's/^project(Tessara VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=Tessara-$version-$platform
stage=$BUILD/package/$name
rm -rf "$BUILD/package"
mkdir -p "$stage/docs"
cp "$BUILD/bin/Tessara.exe" "$BUILD/bin/Kalvex.dll" "$stage/"
crlf() { sed 's/\r*$/\r/' "$1" > "$2"; }
crlf README.md "$stage/README.txt"
crlf docs/user-guide.md "$stage/docs/user-guide.txt"
crlf docs/language.md "$stage/docs/language.txt"
cp -r examples "$stage/examples"

rm -f "$BUILD/$name.zip"
(cd "$BUILD/package" && zip -q -r -X "../$name.zip" "$name")

# The installer's file lists: every folder and file of the stage, and in
# reverse order for the uninstaller, so that folders are removed after
# their files.
lists=$BUILD/package/files
(cd "$stage" && find . -mindepth 1 | sed 's#^\./##' | sort) > "$lists"
echo 'SetOutPath "$INSTDIR"' > "$lists.install.nsh"
: > "$lists.uninstall.nsh"
while IFS= read -r path; do
    win=$(printf '%s' "$path" | tr / '\\')
    if [ -d "$stage/$path" ]; then
        printf 'CreateDirectory "$INSTDIR\\%s"\n' "$win"
    else
        printf 'File "/oname=$INSTDIR\\%s" "%s"\n' "$win" "$PWD/$stage/$path"
    fi
done < "$lists" >> "$lists.install.nsh"
sort -r "$lists" | while IFS= read -r path; do
    win=$(printf '%s' "$path" | tr / '\\')
    if [ -d "$stage/$path" ]; then printf 'RMDir "$INSTDIR\\%s"\n' "$win"
    else printf 'Delete "$INSTDIR\\%s"\n' "$win"; fi
done > "$lists.uninstall.nsh"

makensis -V2 -DVERSION="$version" -DARCH="$platform" -DFILES="$PWD/$lists" \
    -DOUTFILE="$PWD/$BUILD/$name-setup.exe" scripts/Tessara.nsi
echo "$BUILD/$name.zip"
echo "$BUILD/$name-setup.exe"
