#!/bin/sh
# make dist: the release of the shipped exe, the same bytes from every build of
# a commit.
#   dist.sh BUILD_DIR    (the i686 build) writes build/dist/Tavik-VERSION.zip
#                        and build/dist/SHA256SUMS
# The zip holds Tavik.exe, LICENSE.txt and README.txt (CRLF line ends), in that
# order, with the commit's time and no extra attributes. From a tree with
# uncommitted changes the zip is named Tavik-VERSION-dirty.zip.
set -eu
build=${1:?usage: $0 BUILD_DIR}
top=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^#define TAVIK_VERSION_TEXT "\(.*\)"$/\1/p' "$top/res/version.h")
[ -n "$version" ] || { echo "dist: no TAVIK_VERSION_TEXT in res/version.h" >&2; exit 1; }
name=Tavik-$version
if git -C "$top" rev-parse --git-dir >/dev/null 2>&1; then
    stamp=$(git -C "$top" log -1 --format=%ct)
    if [ -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]; then
        name=$name-dirty
        echo "dist: WARNING: the tree has uncommitted changes; $name.zip is not from a clean commit" >&2
    fi
else
    stamp=${SOURCE_DATE_EPOCH:-315532800}
fi
dist=$top/build/dist
stage=$dist/stage
rm -rf "$stage"
mkdir -p "$stage"
cp "$build/win/Tavik.exe" "$stage/Tavik.exe"
sed 's/$/\r/' "$top/LICENSE" >"$stage/LICENSE.txt"
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$top/docs/user-readme.txt" >"$stage/README.txt"
chmod 644 "$stage/LICENSE.txt" "$stage/README.txt"
chmod 755 "$stage/Tavik.exe"
touch -d "@$stamp" "$stage"/*
rm -f "$dist/$name.zip"
# -X: no extra attributes (owners, Unix times); -D: no folder entries. Zip keeps
# local times: UTC makes them the same everywhere.
(cd "$stage" && TZ=UTC zip -q -X -D "$dist/$name.zip" Tavik.exe LICENSE.txt README.txt)
rm -rf "$stage"
(cd "$dist" && sha256sum "$name.zip" >SHA256SUMS)
echo "dist: $dist/$name.zip ($(wc -c <"$dist/$name.zip") bytes)"
cat "$dist/SHA256SUMS"
