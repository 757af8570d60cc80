#!/bin/sh
# start: a persistent wineserver for the prefix and one wineboot, so that the
# test processes after it neither create the prefix nor wait for a server to exit.
# stop: ends the server and every Wine process of the prefix.
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
case "$1" in
start)
    mkdir -p "$WINEPREFIX"
    /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
    /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
    # A bare Xvfb has no window manager: let Wine draw captions and close boxes
    # and give windows the keyboard focus itself, as Windows would.
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >/dev/null 2>&1
    exit 0
    ;;
stop)
    /usr/lib/wine/wineserver -k 2>/dev/null
    /usr/lib/wine/wineserver -w 2>/dev/null
    exit 0
    ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
