#!/bin/sh
# make bench: prints figures, never fails on a time.
#   1. the drawing work, timed in-process under Wine against the GDI calls any
#      draw must make;
#   2. start-up at 100 % and at 200 %, a clock's CPU seen and minimized, and
#      seen at 100 % and at 200 %;
#   3. the running clock beside the minimal Wine clock and xclock, 60 s, three starts;
#   4. the size and the imports of the shipped 32-bit Tavik.exe.
# Logs and plots go under build/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
export WINEPREFIX=$build/x86_64/wineprefix

echo "== Drawing (Wine, in-process) =="
xvfb-run -a -s "-screen 0 320x200x24" sh -c "
    '$root/tools/wine-server.sh' start
    echo '-- at 100 % (dial 64 x 64)'
    '$root/tools/wine-run.sh' '$build/x86_64/tools/bench_render.exe' 64
    echo
    echo '-- at 200 % (dial 128 x 128, drawn from its description)'
    '$root/tools/wine-run.sh' '$build/x86_64/tools/bench_render.exe' 128
    '$root/tools/wine-server.sh' stop
"
echo
echo "== Start-up of Tavik.exe at 100 % and 200 % (Wine) =="
xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
    '$root/tools/wine-server.sh' start
    '$root/tools/bench_start.sh' '$build/x86_64/win/Tavik.exe' 15
    '$root/tools/wine-server.sh' stop
"
echo
echo "== A clock nobody sees: CPU seen, minimized and the floor, 40 s each (Wine) =="
xvfb-run -a -s "-screen 0 320x200x24" sh -c "
    '$root/tools/wine-server.sh' start
    '$root/tools/bench_idle.sh' '$build/x86_64' 40
    '$root/tools/wine-server.sh' stop
"
echo
echo "== A seen clock's CPU at 100 % and at 200 %, 30 s each (Wine) =="
xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
    '$root/tools/wine-server.sh' start
    '$root/tools/bench_scale.sh' '$build/x86_64' 30
    '$root/tools/wine-server.sh' stop
"
echo
echo "== The running clock, 60 s, beside the minimal Wine clock and xclock -analog -update 1 =="
"$root/tools/bench_clock.sh" 60 3
echo
echo "== The shipped build/i686/win/Tavik.exe =="
size=$(stat -c %s "$build/i686/win/Tavik.exe")
echo "size: $size bytes (target at most 65536: $([ "$size" -le 65536 ] && echo met || echo missed))"
echo "imports: $(i686-w64-mingw32-objdump -p "$build/i686/win/Tavik.exe" |
    sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')"
