#!/bin/sh
# start: claims the prefix for the process that called it (CTest, a benchmark),
# then starts a persistent wineserver for it and runs one wineboot, so that the
# test processes after it neither create the prefix nor wait for a server to exit.
# stop: ends the server and every Wine process of the prefix, and lets go of the
# claim.
#
# The claim keeps two runs from sharing a prefix: the stop of one would kill the
# other's Wine processes mid-test (a test that has just started dies within a
# few hundredths of a second, with no output). A second start waits, at most
# 590 s, for the first run's stop or its end. A stop from outside the claimant's
# run leaves the prefix alone; a stop and start within it (a restart) keep the
# claim. The claim is a lock on PREFIX.claim, held by a background process that
# lives as long as the claimant does.
# With TAVIK_ROOT32 set (make test32) the i386 root's Wine is used.
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
in_root=""
if [ -n "${TAVIK_ROOT32:-}" ]; then
    export WINEARCH=win32
    wine=/usr/lib/wine/wine
    in_root="chroot $TAVIK_ROOT32"
fi
claim=${WINEPREFIX%/}.claim
caller=$PPID

fail() {
    echo "wine-server: $*" >&2
    exit 1
}
holder_of() { # the claimant's pid, when it holds the claim and lives
    read -r holder owner 2>/dev/null <"$claim.pid" || return 1
    kill -0 "$holder" 2>/dev/null && echo "$owner"
}
in_run_of() { # pid -> true when the caller is that process or runs under it
    p=$caller
    while [ -n "$p" ] && [ "$p" -gt 1 ]; do
        [ "$p" = "$1" ] && return 0
        p=$(sed -n 's/.*) [A-Za-z] \([0-9]*\) .*/\1/p' "/proc/$p/stat" 2>/dev/null)
    done
    return 1
}

case "$1" in
start)
    owner=$(holder_of)
    if [ -z "$owner" ] || ! in_run_of "$owner"; then # a start within the run goes on
        exec 9>>"$claim" || fail "cannot create $claim"
        if ! flock -n 9; then
            echo "wine-server: $WINEPREFIX is in use by another run (pid $(holder_of)); waiting for it" >&2
            flock -w 590 9 || fail "$WINEPREFIX is still in use after 590 s"
        fi
        # The holder keeps the lock (fd 9) until the caller ends or stop ends it; its
        # output goes nowhere, so that CTest does not wait for it.
        tail --pid="$caller" -f /dev/null </dev/null >/dev/null 2>&1 &
        echo "$! $caller" >"$claim.pid"
        exec 9>&-
    fi
    mkdir -p "$WINEPREFIX"
    # Fails (2) when a server already runs for the prefix: that one serves.
    $in_root /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
    $in_root $wine wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot failed"
    # A bare Xvfb has no window manager: let Wine draw captions and close boxes
    # and give windows the keyboard focus itself, as Windows would.
    $in_root $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        </dev/null >/dev/null 2>&1 || fail "cannot set the X11 driver's Managed key"
    exit 0
    ;;
stop)
    exec 9>>"$claim" || fail "cannot create $claim"
    if ! flock -n 9; then
        owner=$(holder_of)
        if [ -z "$owner" ] || ! in_run_of "$owner"; then
            echo "wine-server: $WINEPREFIX belongs to another run (pid ${owner:-unknown}); not stopped" >&2
            exit 0
        fi
    fi
    $in_root /usr/lib/wine/wineserver -k 2>/dev/null
    $in_root /usr/lib/wine/wineserver -w 2>/dev/null
    # A step within a run (a restart) keeps the claim; the claimant's own stop
    # ends it, the claim file first: the next claimant writes its own.
    if read -r holder owner 2>/dev/null <"$claim.pid" && [ "$owner" = "$caller" ]; then
        rm -f "$claim.pid"
        kill "$holder" 2>/dev/null
    fi
    exit 0
    ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
