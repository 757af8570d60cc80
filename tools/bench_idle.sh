#!/bin/sh
# What a clock nobody sees costs: Tavik.exe under Wine, the only program of its
# prefix (the set-up's server ends, with what wineboot started), its CPU time
# with its prefix's wineserver over SECONDS seen, then over SECONDS minimized by
# another program, and in the same run the floor: the same for a Wine program
# that only waits (minclock without a timer). That floor is the wineserver's own:
# it wakes every 16 ms while any program of its prefix runs (seen with strace).
# Prints the figures in ms and the ratio minimized to seen above the floor (goal:
# at most 1/3).
#   bench_idle.sh BUILD SECONDS   (DISPLAY set, WINEPREFIX claimed; prints only)
set -eu
build=$1
seconds=${2:-30}
tools=$(dirname "$0")
. "$tools/proc_lib.sh"
/usr/lib/wine/wineserver -k
/usr/lib/wine/wineserver -w
printf '[Position]\r\nX=20\r\nY=20\r\n' >"$WINEPREFIX/drive_c/windows/tavik.ini"
"$tools/wine-run.sh" "$build/win/Tavik.exe" &
clock=$!
wait_for_clock 600 0.1
sleep 2
server=$(server_of "$WINEPREFIX")
windows=$(mktemp)
median() { # column of $windows -> its median in ms
    cut -d' ' -f"$1" "$windows" | sort -n | awk '{v[NR] = $1}
        END { printf "%.1f", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) / 1e6 }'
}
measure() { # program -> ms of CPU in 5 s, the median over $seconds: the program's,
    # then with the wineserver (a one-off, such as the registry's flush 30 s after
    # a start, is left out)
    : >"$windows"
    for i in $(seq 1 $((seconds / 5))); do
        p0=$(cpu_ns $1) s0=$(cpu_ns $server)
        sleep 5
        p=$(($(cpu_ns $1) - p0)) s=$(($(cpu_ns $server) - s0))
        echo "$p $((p + s))" >>"$windows"
    done
    echo "$(median 1) $(median 2)"
}
set -- $(measure $clock)
seen_clock=$1 seen=$2
"$tools/wine-run.sh" "$build/tests/restore_clock.exe" minimize
sleep 2
set -- $(measure $clock)
minimized_clock=$1 minimized=$2
"$tools/wine-run.sh" taskkill /im Tavik.exe >/dev/null 2>&1 || kill $clock
wait $clock 2>/dev/null || true
"$tools/wine-run.sh" "$build/tools/minclock.exe" 20 20 0 &
idle=$!
sleep 2
set -- $(measure $idle)
floor=$2
"$tools/wine-run.sh" taskkill /im minclock.exe >/dev/null 2>&1 || kill $idle
wait $idle 2>/dev/null || true
rm -f "$windows"
echo "CPU in 5 s, ms, the median over $seconds s: the clock alone $seen_clock seen," \
    "$minimized_clock minimized; with its wineserver $seen seen, $minimized minimized;" \
    "floor (a Wine program that only waits, with the wineserver) $floor"
awk -v s="$seen" -v m="$minimized" -v f="$floor" 'BEGIN {
    printf "minimized to seen above the floor: %.2f x (goal at most 0.33); with it: %.2f x\n",
        (m - f) / (s - f > 0 ? s - f : 1), m / (s > 0 ? s : 1) }'
