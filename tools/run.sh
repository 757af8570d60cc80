#!/bin/sh
# make run: starts the clock under Wine on this display. Without a display it
# shows the clock on a virtual one for a few seconds and saves a screenshot.
set -eu
build=${1:-build/x86_64}
export WINEPREFIX="$(cd "$build" && pwd)/wineprefix"
exe="$build/win/Tavik.exe"
if [ -n "${DISPLAY:-}" ] && [ -z "${TAVIK_SCREENSHOT:-}" ]; then
    exec tools/wine-run.sh "$exe"
fi
shot=${TAVIK_SCREENSHOT:-$(pwd)/build/tavik-screenshot.png}
echo "No display: showing the clock on a virtual display for a few seconds."
TAVIK_SCREENSHOT=$shot xvfb-run -a -s "-screen 0 320x240x24" sh -c '
    tools/wine-server.sh start
    ini="$WINEPREFIX/drive_c/windows/tavik.ini"
    [ -f "$ini" ] || printf "[Position]\r\nX=128\r\nY=88\r\n" >"$ini"
    tools/wine-run.sh "$0" &
    sleep 5
    import -window root "$TAVIK_SCREENSHOT"
    tools/wine-server.sh stop
' "$exe"
echo "Screenshot: $shot"
