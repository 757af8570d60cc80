#!/bin/sh
# A seen clock's CPU at 100 % and at 200 %: Tavik.exe under Wine with the
# display at 96 and then 192 DPI (LogPixels), the clock's own CPU time in 5 s
# windows, the median over SECONDS each. Prints both and their ratio (goal: the
# clock at 200 % within 1.1 x of the clock at 100 %).
#   bench_scale.sh BUILD SECONDS   (DISPLAY set, WINEPREFIX claimed; prints only)
set -eu
build=$1
seconds=${2:-30}
tools=$(dirname "$0")
. "$tools/proc_lib.sh"
key='HKCU\Control Panel\Desktop'
windows=$(mktemp)
trap '"$tools/wine-run.sh" reg delete "$key" /v LogPixels /f >/dev/null 2>&1; rm -f "$windows"' EXIT
seen_at() { # DPI -> ms of the clock's CPU in 5 s, the median over $seconds
    "$tools/wine-run.sh" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    printf '[Position]\r\nX=20\r\nY=20\r\n' >"$WINEPREFIX/drive_c/windows/tavik.ini"
    "$tools/wine-run.sh" "$build/win/Tavik.exe" &
    clock=$!
    wait_for_clock 600 0.1
    sleep 2
    : >"$windows"
    for i in $(seq 1 $((seconds / 5))); do
        p0=$(cpu_ns $clock)
        sleep 5
        echo $(($(cpu_ns $clock) - p0)) >>"$windows"
    done
    "$tools/wine-run.sh" taskkill /im Tavik.exe >/dev/null 2>&1 || kill $clock
    wait $clock 2>/dev/null || true
    sort -n "$windows" | awk '{v[NR] = $1}
        END { printf "%.1f", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) / 1e6 }'
}
at100=$(seen_at 96)
at200=$(seen_at 192)
echo "the clock's CPU in 5 s, ms, the median over $seconds s: $at100 at 100 %, $at200 at 200 %"
awk -v a="$at100" -v b="$at200" 'BEGIN {
    printf "200 %% to 100 %%: %.2f x (goal at most 1.1)\n", b / (a > 0 ? a : 1) }'
