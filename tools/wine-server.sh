#!/bin/sh
# start: a persistent wineserver for the prefix and one wineboot, so that the
# test processes after it neither create the prefix nor wait for a server to exit.
# stop: ends the server and every Wine process of the prefix.
# With TAVIK_ROOT32 set (make test32) the i386 root's Wine is used.
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
in_root=""
if [ -n "${TAVIK_ROOT32:-}" ]; then
    export WINEARCH=win32
    wine=/usr/lib/wine/wine
    in_root="chroot $TAVIK_ROOT32"
fi
case "$1" in
start)
    mkdir -p "$WINEPREFIX"
    $in_root /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
    $in_root $wine wineboot -i </dev/null >/dev/null 2>&1
    # A bare Xvfb has no window manager: let Wine draw captions and close boxes
    # and give windows the keyboard focus itself, as Windows would.
    $in_root $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >/dev/null 2>&1
    exit 0
    ;;
stop)
    $in_root /usr/lib/wine/wineserver -k 2>/dev/null
    $in_root /usr/lib/wine/wineserver -w 2>/dev/null
    exit 0
    ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
