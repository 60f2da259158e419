#!/bin/sh
# Runs the example script through tessara and shows the processed output.
set -e
BUILD=${1:-build}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT
XDG_CONFIG_HOME="$OUT" "$BUILD/bin/tessara" /i "$ROOT/examples/tour.kvx" /o "$OUT/tour-out.kvx"
cat "$OUT/tour-out.kvx"
