#!/bin/sh
# make run: starts the clock under Wine on this display, in the user's own Wine
# prefix (WINEPREFIX, else ~/.wine), where its tavik.ini stays across builds.
# Without a display it shows the clock on a virtual one for a few seconds, saves
# a screenshot and closes the clock as a user would, so its settings are written.
set -eu
build=${1:-build/x86_64}
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine}"
exe="$build/win/Tavik.exe"
if [ -n "${DISPLAY:-}" ] && [ -z "${TAVIK_SCREENSHOT:-}" ]; then
    echo "Tavik is running (settings: $WINEPREFIX/drive_c/windows/tavik.ini). To quit: right-click the clock, then Close."
    exec tools/wine-run.sh "$exe"
fi
shot=${TAVIK_SCREENSHOT:-$(pwd)/build/tavik-screenshot.png}
echo "No display: showing the clock on a virtual display for a few seconds."
TAVIK_SCREENSHOT=$shot xvfb-run -a -s "-screen 0 320x240x24" sh -c '
    tools/wine-run.sh "$0" &
    clock=$!
    for i in $(seq 1 300); do
        xdotool search --name "^Tavik\$" >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 2
    import -window root "$TAVIK_SCREENSHOT"
    # WM_CLOSE to its window, as its Close command does: the settings are saved.
    tools/wine-run.sh taskkill /im Tavik.exe >/dev/null 2>&1
    wait $clock
    timeout 30 /usr/lib/wine/wineserver -w || true
' "$exe"
echo "Screenshot: $shot"
echo "Settings: $WINEPREFIX/drive_c/windows/tavik.ini"
