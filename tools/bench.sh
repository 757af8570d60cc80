#!/bin/sh
# make bench: prints figures, never fails on a time.
#   1. the drawing work, timed in-process under Wine;
#   2. the running clock against xclock for 60 s on one virtual display;
#   3. the size and the imports of the shipped 32-bit Tavik.exe.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
export WINEPREFIX=$build/x86_64/wineprefix

echo "== Drawing (Wine, in-process) =="
xvfb-run -a -s "-screen 0 320x200x24" sh -c "
    '$root/tools/wine-server.sh' start
    '$root/tools/wine-run.sh' '$build/x86_64/tools/bench_render.exe'
    '$root/tools/wine-server.sh' stop
"
echo
echo "== The running clock, 60 s, beside xclock -analog -update 1 =="
"$root/tools/bench_clock.sh" 60
echo
echo "== The shipped build/i686/win/Tavik.exe =="
echo "size: $(stat -c %s "$build/i686/win/Tavik.exe") bytes"
echo "imports: $(i686-w64-mingw32-objdump -p "$build/i686/win/Tavik.exe" |
    sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')"
