#!/bin/sh
# Start-up of the real Tavik.exe at 100 % and at 200 %: from the command to the
# clock shown on the display, each scale started RUNS times, interleaved, in the
# build's prefix with LogPixels set for the run. Prints the medians and their ratio.
#   bench_start.sh EXE RUNS   (DISPLAY and WINEPREFIX set; prints only)
set -u
exe=$1
runs=${2:-7}
tools=$(dirname "$0")
. "$tools/proc_lib.sh"
key='HKCU\Control Panel\Desktop'
shown() { # milliseconds from its start until a visible "Tavik" window exists
    start=$(date +%s%N)
    "$tools/wine-run.sh" "$exe" &
    clock=$!
    wait_for_clock 3000 0.005 || true
    end=$(date +%s%N)
    # Closed as a user would; a close that comes while Wine is still mapping
    # the window can go unseen, so it is asked again until the clock has gone.
    while kill -0 $clock 2>/dev/null; do
        "$tools/wine-run.sh" taskkill /im Tavik.exe >/dev/null 2>&1
        sleep 0.5
    done
    wait
    echo $(((end - start) / 1000000))
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
at96="" at192=""
for run in $(seq 1 "$runs"); do
    for dpi in 96 192; do
        "$tools/wine-run.sh" reg add "$key" /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
        ms=$(shown)
        if [ $dpi = 96 ]; then at96="$at96 $ms"; else at192="$at192 $ms"; fi
    done
done
"$tools/wine-run.sh" reg delete "$key" /v LogPixels /f >/dev/null 2>&1
m96=$(echo "$at96" | median)
m192=$(echo "$at192" | median)
echo "start-up to the clock shown, median of $runs: 100 % $m96 ms, 200 % $m192 ms" \
    "($(echo "scale=3; $m192 / $m96" | bc) x; goal at most 1.1 x)"
echo "  100 %:$at96"
echo "  200 %:$at192"
