#!/bin/sh
# What a clock nobody sees costs: Tavik.exe under Wine, its CPU time (with its
# prefix's wineserver) over SECONDS seen, then over SECONDS minimized by another
# program, in the same run. Prints both and their ratio (goal: at most 1/3).
#   bench_idle.sh BUILD SECONDS   (DISPLAY and WINEPREFIX set; prints only)
set -eu
build=$1
seconds=${2:-30}
tools=$(dirname "$0")
server_of() { # prefix -> pid of the wineserver that serves it
    dir=$(printf "server-%x-%x" $(stat -c "%d %i" "$1"))
    for p in $(pgrep wineserver); do
        case "$(readlink "/proc/$p/cwd")" in */$dir) echo "$p"; return ;; esac
    done
}
cpu() { # pids -> clock ticks of user and system time
    t=0
    for p in "$@"; do t=$((t + $(awk '{print $14 + $15}' "/proc/$p/stat"))); done
    echo $t
}
printf '[Position]\r\nX=20\r\nY=20\r\n' >"$WINEPREFIX/drive_c/windows/tavik.ini"
"$tools/wine-run.sh" "$build/win/Tavik.exe" &
clock=$!
for i in $(seq 1 600); do
    xdotool search --onlyvisible --name '^Tavik$' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 2
server=$(server_of "$WINEPREFIX")
t0=$(cpu $clock $server)
sleep "$seconds"
seen=$(($(cpu $clock $server) - t0))
"$tools/wine-run.sh" "$build/tests/restore_clock.exe" minimize
sleep 2
t0=$(cpu $clock $server)
sleep "$seconds"
minimized=$(($(cpu $clock $server) - t0))
"$tools/wine-run.sh" taskkill /im Tavik.exe >/dev/null 2>&1 || kill $clock
wait $clock 2>/dev/null || true
hz=$(getconf CLK_TCK)
echo "CPU over $seconds s (clock and wineserver, ticks of 1/$hz s): seen $seen, minimized $minimized" \
    "($(echo "scale=2; $minimized / ($seen + 0.0001)" | bc) x; goal at most 0.33)"
