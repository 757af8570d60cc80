#!/bin/sh
# The running clock beside two yardsticks on one virtual display: the minimal
# Wine clock (tools/minclock.cpp, in a prefix of its own) and xclock -analog
# -update 1. In each of REPEATS repetitions the three start together; the CPU
# time over SECONDS seconds and the resident memory at its end are taken of the
# process this script started (never one found by name), a Wine clock's together
# with its prefix's wineserver; Tavik and xclock are watched on screen for the
# seconds each drew and how late. Logs and the plot go to build/bench-clock/.
#   bench_clock.sh [SECONDS] [REPEATS]
set -eu
seconds=${1:-60}
repeats=${2:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
out=$build/bench-clock
rm -rf "$out"
mkdir -p "$out"
exec xvfb-run -a -s "-screen 0 320x200x24" sh -c '
    set -eu
    root=$0 build=$1 out=$2 seconds=$3 repeats=$4
    tavik_prefix=$build/x86_64/wineprefix
    minimal_prefix=$build/x86_64/bench-minclock-prefix
    . "$root/tools/proc_lib.sh"
    hz=$(getconf CLK_TCK)
    for rep in $(seq 1 "$repeats"); do
        # Claimed for the repetition; then each clock is the only program of its
        # prefix: the server of the set-up ends, with what wineboot started.
        for prefix in "$tavik_prefix" "$minimal_prefix"; do
            WINEPREFIX=$prefix "$root/tools/wine-server.sh" start
            WINEPREFIX=$prefix /usr/lib/wine/wineserver -k
            WINEPREFIX=$prefix /usr/lib/wine/wineserver -w
        done
        printf "[Position]\r\nX=20\r\nY=20\r\n" >"$tavik_prefix/drive_c/windows/tavik.ini"
        WINEPREFIX=$tavik_prefix "$root/tools/wine-run.sh" "$build/x86_64/win/Tavik.exe" &
        tavik=$!
        WINEPREFIX=$minimal_prefix "$root/tools/wine-run.sh" "$build/x86_64/tools/minclock.exe" 220 20 &
        minimal=$!
        xclock -analog -update 1 -geometry 64x64+120+20 2>/dev/null &
        xclock=$!
        sleep 5
        tavik_server=$(server_of "$tavik_prefix")
        minimal_server=$(server_of "$minimal_prefix")
        t0=$(cpu $tavik $tavik_server) m0=$(cpu $minimal $minimal_server) x0=$(cpu $xclock)
        log=$out/run$rep.txt
        "$build/native/tools/xcapture" "$seconds" 20 \
            tavik 20 20 64 64 xclock 120 20 64 64 >"$log"
        echo "cpu tavik $(($(cpu $tavik $tavik_server) - t0)) $hz" >>"$log"
        echo "cpu minimal $(($(cpu $minimal $minimal_server) - m0)) $hz" >>"$log"
        echo "cpu xclock $(($(cpu $xclock) - x0)) $hz" >>"$log"
        echo "rss tavik $(rss $tavik $tavik_server)" >>"$log"
        echo "rss minimal $(rss $minimal $minimal_server)" >>"$log"
        echo "rss xclock $(rss $xclock)" >>"$log"
        kill $tavik $minimal $xclock
        wait $tavik $minimal $xclock 2>/dev/null || true
        WINEPREFIX=$tavik_prefix "$root/tools/wine-server.sh" stop
        WINEPREFIX=$minimal_prefix "$root/tools/wine-server.sh" stop
    done
    python3 "$root/tools/bench_clock.py" "$out/lateness.png" "$out"/run*.txt
' "$root" "$build" "$out" "$seconds" "$repeats"
