#!/bin/sh
# Renders the dial at 10:10:20 on 8 December, without and with the date label,
# into docs/ as 4x zoomed PNGs (for the README). Needs a display (xvfb-run -a).
set -eu
build=${1:-build/x86_64}
export WINEPREFIX="$(cd "$build" && pwd)/wineprefix"
tools/wine-server.sh start
tmp=$(mktemp -d)
tools/wine-run.sh "$build/tools/dialshot.exe" 10:10:20 8.12 0 "Z:$tmp/numerals.bmp"
tools/wine-run.sh "$build/tools/dialshot.exe" 10:10:20 8.12 1 "Z:$tmp/label.bmp"
tools/wine-server.sh stop
convert "$tmp/numerals.bmp" -filter point -resize 400% docs/clock-101020.png
convert "$tmp/label.bmp" -filter point -resize 400% docs/clock-101020-date.png
rm -rf "$tmp"
echo "docs/clock-101020.png docs/clock-101020-date.png"
