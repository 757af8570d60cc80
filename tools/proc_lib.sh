# Sourced by the benchmarks: what a process, and the wineserver of a prefix, cost,
# and the wait for a shown clock.
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
cpu_ns() { # pids -> ns of CPU run by their threads (the scheduler's own count)
    t=0
    for p in "$@"; do
        for s in /proc/$p/task/*/schedstat; do t=$((t + $(cut -d' ' -f1 "$s"))); done
    done
    echo $t
}
rss() { # pids -> resident kB
    t=0
    for p in "$@"; do t=$((t + $(awk '/^VmRSS/ {print $2}' "/proc/$p/status"))); done
    echo $t
}
wait_for_clock() { # tries, pause -> 0 once a visible "Tavik" window exists
    for i in $(seq 1 "$1"); do
        xdotool search --onlyvisible --name '^Tavik$' >/dev/null 2>&1 && return 0
        sleep "$2"
    done
    return 1
}
