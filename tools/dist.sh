#!/bin/sh
# make dist: the release of the shipped exe, the same bytes from every build of
# a commit.
#   dist.sh BUILD_DIR [URL]   (the i686 build) writes build/dist/Tavik-VERSION.zip
#                             and build/dist/SHA256SUMS; with URL, the folder the
#                             release is downloaded from, also the package
#                             manifests for winget (build/dist/winget/manifests/
#                             t/Tavik/Tavik/VERSION/) and scoop (build/dist/scoop/)
# TAVIK_DIST_DIR, when set, names another folder for all of it (the tests').
# The zip holds Tavik.exe, LICENSE.txt and README.txt (CRLF line ends), in that
# order, with the commit's time and no extra attributes. From a tree with
# uncommitted changes the zip is named Tavik-VERSION-dirty.zip.
set -eu
build=${1:?usage: $0 BUILD_DIR [URL]}
url=${2:-}
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
dist=${TAVIK_DIST_DIR:-$top/build/dist}
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

rm -rf "$dist/winget" "$dist/scoop"
if [ -z "$url" ]; then
    echo "dist: no package manifests for winget and scoop (make dist URL=<the release's download folder>)"
    exit 0
fi
maker=$(sed -n 's/^#define TAVIK_MAKER "\(.*\)"$/\1/p' "$top/res/version.h")
sha=$(sha256sum "$dist/$name.zip" | cut -d' ' -f1)
zip_url=${url%/}/$name.zip
summary="A small analogue desk clock: a round dial in a frameless window, sharp at every display scale."
# winget: the zip as installer, the portable Tavik.exe inside it.
winget=$dist/winget/manifests/t/Tavik/Tavik/$version
mkdir -p "$winget"
head="PackageIdentifier: Tavik.Tavik
PackageVersion: \"$version\""
cat >"$winget/Tavik.Tavik.yaml" <<EOT
$head
DefaultLocale: en-US
ManifestType: version
ManifestVersion: 1.6.0
EOT
cat >"$winget/Tavik.Tavik.installer.yaml" <<EOT
$head
InstallerType: zip
NestedInstallerType: portable
NestedInstallerFiles:
  - RelativeFilePath: Tavik.exe
    PortableCommandAlias: tavik
Installers:
  - Architecture: x86
    InstallerUrl: $zip_url
    InstallerSha256: $(echo "$sha" | tr 'a-f' 'A-F')
ManifestType: installer
ManifestVersion: 1.6.0
EOT
cat >"$winget/Tavik.Tavik.locale.en-US.yaml" <<EOT
$head
PackageLocale: en-US
Publisher: "$maker"
PackageName: Tavik
License: MIT
ShortDescription: "$summary"
ManifestType: defaultLocale
ManifestVersion: 1.6.0
EOT
mkdir -p "$dist/scoop"
cat >"$dist/scoop/tavik.json" <<EOT
{
    "version": "$version",
    "description": "$summary",
    "homepage": "${url%/}",
    "license": "MIT",
    "url": "$zip_url",
    "hash": "$sha",
    "bin": "Tavik.exe",
    "shortcuts": [["Tavik.exe", "Tavik"]]
}
EOT
echo "dist: package manifests in $dist/winget and $dist/scoop"
