#!/bin/sh
# Runs a command on a display with two monitors side by side, as Wine sees them:
# 1024 x 768 and, at its right, a small one of 100 x 100 (Xorg's dummy driver,
# its second output switched on with xrandr). Xvfb has one monitor only, and
# Wine takes its monitors from the display its desktop runs on: the prefix's
# server is started again on this one, and stopped after.
# Exits 77 (skipped) where Xorg cannot run here (it needs root).
#   two-monitors.sh COMMAND [ARGUMENT...]
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
if [ "$(id -u)" != 0 ] || [ ! -x /usr/lib/xorg/Xorg ]; then
    echo "two-monitors: Xorg needs root here; skipped" >&2
    exit 77
fi
dir=$(mktemp -d)
cat >"$dir/xorg.conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "card"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-100.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "card"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 2048 1024
        Modes "1024x768"
    EndSubSection
EndSection
CONF
/usr/lib/xorg/Xorg -config "$dir/xorg.conf" -noreset -nolisten tcp -novtswitch -sharevts \
    -logfile "$dir/xorg.log" -displayfd 3 3>"$dir/display" >/dev/null 2>&1 &
xorg=$!
trap '"$here/tools/wine-server.sh" stop; kill $xorg 2>/dev/null; rm -rf "$dir"' EXIT
for i in $(seq 1 100); do
    [ -s "$dir/display" ] && break
    sleep 0.1
done
if [ ! -s "$dir/display" ]; then
    echo "two-monitors: Xorg did not start; skipped" >&2
    exit 77
fi
export DISPLAY=":$(cat "$dir/display")"
xrandr --newmode 100x100 12.00 100 150 200 400 100 150 200 300 &&
    xrandr --addmode DUMMY1 100x100 &&
    xrandr --output DUMMY1 --mode 100x100 --right-of DUMMY0 || exit 1
# A full query makes the server probe its outputs; until then Wine's query of
# the current state may still find one monitor.
xrandr >/dev/null
"$here/tools/wine-server.sh" stop
"$here/tools/wine-server.sh" start || exit 1
"$@"
exit $?
