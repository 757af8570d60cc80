#!/bin/sh
# Runs a Windows program under Wine (tools/wine-run.sh) with the display at a
# DPI: HKCU\Control Panel\Desktop\LogPixels is set for the run and removed after
# it (96, Wine's default), also when the program fails.
#   wine-dpi.sh DPI PROGRAM [ARGUMENT...]
set -u
dpi=$1
shift
run="$(dirname "$0")/wine-run.sh"
key='HKCU\Control Panel\Desktop'
"$run" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
"$run" "$@"
status=$?
"$run" reg delete "$key" /v LogPixels /f </dev/null >/dev/null 2>&1
exit $status
