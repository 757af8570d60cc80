#!/bin/sh
# The artwork under res/ is exactly what tools/artgen.py draws (the dials from
# core/dialart.cpp, through the dialart tool).
set -eu
source_dir=$1
out=$2
dialart=$3
rm -rf "$out"
python3 "$source_dir/tools/artgen.py" "$dialart" "$out"
status=0
files="tavik.ico hand_open.cur hand_grab.cur dial_numerals.bmp dial_plain.bmp"
for size in 48 64; do
    files="$files tavik_$size.ico hand_open_$size.cur hand_grab_$size.cur"
done
for file in $files; do
    if ! cmp "$out/$file" "$source_dir/res/$file"; then
        echo "res/$file differs from what tools/artgen.py draws" >&2
        status=1
    fi
done
[ $status = 0 ] && echo "$(echo $files | wc -w) passed, 0 failed"
exit $status
