#!/bin/sh
# Static checks of a built Tavik.exe: machine, subsystem, no link time and no
# build path (so every build of a commit gives the same bytes), the oldest Windows
# it asks for, imports of Windows system DLLs only (for the shipped i686 exe exactly
# the functions listed in tests/imports-i686.txt), a manifest without an execution
# level, and resources byte-identical to the other architecture's build (whose
# resources the Wine tests check field by field).
#   check_image.sh ARCH IMAGE OTHER_ARCH_IMAGE SOURCE_DIR BUILD_DIR
set -eu
arch=$1
image=$2
other=$3
source_dir=$4
build_dir=$5
case $arch in
i686) triple=i686-w64-mingw32 format=pei-i386 manifest_arch=x86 ;;
*) triple=x86_64-w64-mingw32 format=pei-x86-64 manifest_arch=amd64 ;;
esac
. "$(dirname "$0")/check_lib.sh"
headers=$($triple-objdump -p "$image")
check "file format $format" 'echo "$headers" | grep -q "file format $format"'
check "GUI subsystem" 'echo "$headers" | grep -Eq "^Subsystem[[:space:]]+00000002"'
# Windows XP is 5.1: the loader refuses an image that asks for a later version.
version() { # field -> its value times 100, e.g. 501
    major=$(echo "$headers" | sed -n "s/^Major$1[[:space:]]*//p")
    minor=$(echo "$headers" | sed -n "s/^Minor$1[[:space:]]*//p")
    echo $((major * 100 + minor))
}
if [ "$arch" = i686 ]; then
    check "subsystem version at most 5.1, for XP (got $(version SubsystemVersion))" \
        '[ "$(version SubsystemVersion)" -le 501 ]'
    check "OS version at most 5.1, for XP (got $(version OSystemVersion))" \
        '[ "$(version OSystemVersion)" -le 501 ]'
    check "at most 64 KiB, as users download it (got $(wc -c <"$image"))" \
        '[ "$(wc -c <"$image")" -le 65536 ]'
    list="$(dirname "$0")/imports-i686.txt"
    imports=$(echo "$headers" | sed -n '/^The Import Tables/,/^The /p' |
        awk '/DLL Name:/ {dll = tolower($3)} /^\t[0-9a-f]+\t *[0-9]+  [A-Za-z_]/ {print dll, $3}' |
        LC_ALL=C sort)
    check "imports exactly the functions of $list (differences: $(echo "$imports" |
        LC_ALL=C diff "$list" - | grep '^[<>]' | tr '\n' ' '))" \
        '[ "$imports" = "$(cat "$list")" ]'
fi
check "no link time in the header (got $(echo "$headers" | sed -n 's/^Time\/Date[[:space:]]*//p'))" \
    'echo "$headers" | grep -Eq "^Time/Date[[:space:]]+(Thu Jan  1 00:00:00 1970|00000000)"'
check "no build path in the file" \
    '! grep -a -q -e "$source_dir" -e "$build_dir" "$image"'
dlls=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
check "imports only system DLLs (got: $dlls)" \
    '[ "$dlls" = "advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll " ]'
# The manifest names the processor: "x86" or "amd64".
manifest_size=$((1425 + ${#manifest_arch}))
listing=$(wrestool -l "$image" | sed -E 's/ offset=0x[0-9a-f]+//; s/\[offset=0x[0-9a-f]+ /[/')
expected='--type=1 --name=1 --language=0 [type=cursor size=308]
--type=1 --name=2 --language=0 [type=cursor size=308]
--type=1 --name=3 --language=0 [type=cursor size=820]
--type=1 --name=4 --language=0 [type=cursor size=1076]
--type=1 --name=5 --language=0 [type=cursor size=820]
--type=1 --name=6 --language=0 [type=cursor size=1076]
--type=2 --name=2 --language=0 [type=bitmap size=5416]
--type=2 --name=3 --language=0 [type=bitmap size=5416]
--type=3 --name=1 --language=0 [type=icon size=744]
--type=3 --name=2 --language=0 [type=icon size=1640]
--type=3 --name=3 --language=0 [type=icon size=2664]
--type=5 --name=2 --language=0 [type=dialog size=298]
--type=12 --name=1 --language=0 [type=group_cursor size=20]
--type=12 --name=2 --language=0 [type=group_cursor size=20]
--type=12 --name=3 --language=0 [type=group_cursor size=20]
--type=12 --name=4 --language=0 [type=group_cursor size=20]
--type=12 --name=5 --language=0 [type=group_cursor size=20]
--type=12 --name=6 --language=0 [type=group_cursor size=20]
--type=14 --name=1 --language=0 [type=group_icon size=20]
--type=14 --name=2 --language=0 [type=group_icon size=20]
--type=14 --name=3 --language=0 [type=group_icon size=20]
--type=16 --name=1 --language=0 [type=version size=880]
--type=24 --name=1 --language=0 [size='$manifest_size']'
check "resource inventory (a manifest; no menu or strings)" '[ "$listing" = "$expected" ]'
tmp=$(mktemp -d)
mkdir -p "$tmp/a" "$tmp/b"
wrestool -x --raw -o "$tmp/a/" "$image"
manifest=$(ls "$tmp"/a/*_24_1*)
check "the manifest read as XP reads it: $(python3 "$(dirname "$0")/check_manifest.py" \
    "$manifest" "$tmp"/a/*_16_1* "$manifest_arch" | tr '\n' ';')" \
    'python3 "$(dirname "$0")/check_manifest.py" "$manifest" "$tmp"/a/*_16_1* "$manifest_arch"'
check "no execution level (the INI's writes stay redirected), no other common controls" \
    '! grep -q -e requestedExecutionLevel -e "<trustInfo" -e "<dependency>" "$manifest"'
if [ -f "$other" ]; then
    wrestool -x --raw -o "$tmp/b/" "$other"
    # The manifests differ in the processor alone.
    sed -i 's/processorArchitecture="[a-z0-9]*"//' "$tmp"/a/*_24_1* "$tmp"/b/*_24_1*
    check "resources identical to $other" 'diff -r "$tmp/a" "$tmp/b" >/dev/null'
    check "all 23 resources extracted" '[ "$(ls "$tmp/a" | wc -l)" = 23 ]'
fi
rm -rf "$tmp"
finish
