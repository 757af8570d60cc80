#!/bin/sh
# Runs a 64-bit Windows program under wine64. WINEPREFIX must name the prefix
# of the build folder (CTest sets it for every test).
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: Tavik needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec /usr/lib/wine/wine64 "$@"
