#!/bin/sh
# Runs a Windows program under Wine. WINEPREFIX must name the prefix of the build
# folder (CTest sets it for every test). 64-bit programs run under wine64; with
# TAVIK_ROOT32 set (make test32) 32-bit ones run under the i386 root's Wine.
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: Tavik needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -n "${TAVIK_ROOT32:-}" ]; then
    export WINEARCH=win32
    exec chroot "$TAVIK_ROOT32" /bin/sh -c 'cd "$0" && exec /usr/lib/wine/wine "$@"' "$PWD" "$@"
fi
exec /usr/lib/wine/wine64 "$@"
