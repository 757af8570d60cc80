#!/bin/sh
# The running clock, measured on one virtual display side by side with xclock:
# how many seconds each drew in 60 s, how late each redraw came after its second
# began, and the CPU time of each process. Prints the figures and writes the
# lateness plot to docs/lateness.png. Usage: bench_clock.sh [SECONDS]
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
export WINEPREFIX=$build/x86_64/wineprefix
export TAVIK_BENCH_SECONDS=$seconds
exec xvfb-run -a -s "-screen 0 320x200x24" sh -c '
    set -eu
    root=$0
    build=$root/build
    out=$build/bench-clock
    mkdir -p "$out"
    "$root/tools/wine-server.sh" start
    printf "[Position]\r\nX=20\r\nY=20\r\n" >"$WINEPREFIX/drive_c/windows/tavik.ini"
    "$root/tools/wine-run.sh" "$build/x86_64/win/Tavik.exe" &
    xclock -analog -update 1 -geometry 64x64+120+20 &
    xclock_pid=$!
    sleep 4
    tavik_pid=$(pgrep -n -x Tavik.exe)
    cpu() { awk "{print \$14 + \$15}" "/proc/$1/stat"; }
    tavik_cpu0=$(cpu "$tavik_pid")
    xclock_cpu0=$(cpu "$xclock_pid")
    "$build/native/tools/xcapture" "$TAVIK_BENCH_SECONDS" 20 \
        tavik 20 20 64 64 xclock 120 20 64 64 >"$out/changes.txt"
    echo "cpu tavik $(( $(cpu "$tavik_pid") - tavik_cpu0 )) $(getconf CLK_TCK)" >>"$out/changes.txt"
    echo "cpu xclock $(( $(cpu "$xclock_pid") - xclock_cpu0 )) $(getconf CLK_TCK)" >>"$out/changes.txt"
    kill "$xclock_pid"
    "$root/tools/wine-server.sh" stop
    python3 "$root/tools/bench_clock.py" "$out/changes.txt" "$root/docs/lateness.png"
' "$root"
