#!/bin/sh
# What a clock nobody sees costs: Tavik.exe under Wine, its CPU time (with its
# prefix's wineserver) over SECONDS seen, then over SECONDS minimized by another
# program, in the same run, and the wineserver's own over SECONDS once the clock
# has closed (the prefix's other Wine processes). Prints the figures and the ratio
# minimized to seen (goal: at most 1/3).
#   bench_idle.sh BUILD SECONDS   (DISPLAY and WINEPREFIX set; prints only)
set -eu
build=$1
seconds=${2:-30}
tools=$(dirname "$0")
. "$tools/proc_lib.sh"
printf '[Position]\r\nX=20\r\nY=20\r\n' >"$WINEPREFIX/drive_c/windows/tavik.ini"
"$tools/wine-run.sh" "$build/win/Tavik.exe" &
clock=$!
wait_for_clock 600 0.1
sleep 2
server=$(server_of "$WINEPREFIX")
measure() { # -> ticks of the clock, then of the wineserver, over $seconds
    c0=$(cpu $clock) s0=$(cpu $server)
    sleep "$seconds"
    echo "$(($(cpu $clock) - c0)) $(($(cpu $server) - s0))"
}
seen=$(measure)
"$tools/wine-run.sh" "$build/tests/restore_clock.exe" minimize
sleep 2
minimized=$(measure)
"$tools/wine-run.sh" taskkill /im Tavik.exe >/dev/null 2>&1 || kill $clock
wait $clock 2>/dev/null || true
s0=$(cpu $server)
sleep "$seconds"
alone=$(($(cpu $server) - s0))
hz=$(getconf CLK_TCK)
set -- $seen $minimized
echo "CPU over $seconds s, ticks of 1/$hz s: the clock $1 seen, $3 minimized;" \
    "with its wineserver $(($1 + $2)) seen, $(($3 + $4)) minimized" \
    "($(echo "scale=2; ($3 + $4) / ($1 + $2 + 0.0001)" | bc) x; goal at most 0.33);" \
    "the wineserver with no clock: $alone"
