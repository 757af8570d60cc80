#!/bin/sh
# Pictures for the README, from the real program. Renders the dial at 10:10:20 on
# 8 December, without and with the date label, as 4x zoomed PNGs, the same at
# 200 % (192 DPI, 128 x 128) as 2x zoomed PNGs, and takes a
# screenshot of the running Tavik.exe, its tooltip shown, on a desktop-coloured
# backdrop. Needs a display of its own (xvfb-run -a -s "-screen 0 640x480x24").
set -eu
build=${1:-build/x86_64}
export WINEPREFIX="$(cd "$build" && pwd)/wineprefix"
tools/wine-server.sh start
tmp=$(mktemp -d)
tools/wine-run.sh "$build/tools/dialshot.exe" 10:10:20 8.12 0 "Z:$tmp/numerals.bmp"
tools/wine-run.sh "$build/tools/dialshot.exe" 10:10:20 8.12 1 "Z:$tmp/label.bmp"
convert "$tmp/numerals.bmp" -filter point -resize 400% docs/clock-101020.png
convert "$tmp/label.bmp" -filter point -resize 400% docs/clock-101020-date.png
tools/wine-run.sh "$build/tools/dialshot.exe" 10:10:20 8.12 0 "Z:$tmp/numerals2.bmp" 192
tools/wine-run.sh "$build/tools/dialshot.exe" 10:10:20 8.12 1 "Z:$tmp/label2.bmp" 192
convert "$tmp/numerals2.bmp" -filter point -resize 200% docs/clock-101020-200.png
convert "$tmp/label2.bmp" -filter point -resize 200% docs/clock-101020-date-200.png

xsetroot -solid '#3a6ea5'
printf '[Position]\r\nX=96\r\nY=24\r\nShowDate=1\r\n' >"$WINEPREFIX/drive_c/windows/tavik.ini"
tools/wine-run.sh "$build/win/Tavik.exe" &
clock=$!
for i in $(seq 1 300); do
    xdotool search --name '^Tavik$' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 2
for step in 120,50 124,54 126,56; do
    xdotool mousemove "${step%,*}" "${step#*,}"
    sleep 0.2
done
sleep 2
import -window root -crop 256x120+0+0 +repage docs/running-clock.png
tools/wine-run.sh taskkill /im Tavik.exe >/dev/null 2>&1
wait $clock
tools/wine-server.sh stop
rm -rf "$tmp"
echo "docs/clock-101020*.png docs/running-clock.png"
