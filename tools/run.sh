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
    # A new Wine prefix is made first, which can take minutes.
    window=""
    for i in $(seq 1 1800); do
        window=$(xdotool search --onlyvisible --pid $clock --name "^Tavik\$" 2>/dev/null | head -1)
        [ -n "$window" ] && break
        kill -0 $clock 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        echo "The clock did not show within three minutes."
        kill $clock 2>/dev/null
        exit 1
    fi
    sleep 2
    import -window root "$TAVIK_SCREENSHOT"
    # Alt+F4 to this clock alone, as a user closes a window: WM_CLOSE, so the
    # settings are saved. Other clocks of the same prefix are left alone.
    xdotool windowfocus --sync "$window" key alt+F4
    for i in $(seq 1 300); do
        kill -0 $clock 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 $clock 2>/dev/null; then
        echo "The clock did not close within 30 seconds; it was ended, its settings unsaved."
        kill $clock
    fi
    wait $clock
    timeout 30 /usr/lib/wine/wineserver -w || true
' "$exe"
echo "Screenshot: $shot"
echo "Settings: $WINEPREFIX/drive_c/windows/tavik.ini"
