#!/bin/sh
# The release as make dist writes it: without URL the zip and its checksum
# alone; with URL also the winget and scoop manifests, which parse, point at the
# zip by its checksum and name the version of the exe's version block.
#   check_dist.sh SOURCE_DIR BUILD_DIR
set -eu
source_dir=$1
build_dir=$2
. "$(dirname "$0")/check_lib.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
TAVIK_DIST_DIR=$tmp/plain "$source_dir/tools/dist.sh" "$build_dir" >"$tmp/said" 2>&1
check "without URL, no package manifests, and says so" \
    '[ ! -e "$tmp/plain/winget" ] && [ ! -e "$tmp/plain/scoop" ] && grep -q "no package manifests" "$tmp/said"'
url=https://example.invalid/tavik/download
TAVIK_DIST_DIR=$tmp/dist "$source_dir/tools/dist.sh" "$build_dir" "$url" >/dev/null 2>&1
wrestool -x --raw --type=16 "$build_dir/win/Tavik.exe" >"$tmp/version.bin"
faults=$(cd "$(dirname "$0")" && python3 - "$tmp/dist" "$tmp/version.bin" "$url" <<'PY'
import glob, hashlib, json, os, sys
import yaml
from check_manifest import file_version
dist, version_resource, url = sys.argv[1:4]
major, minor = file_version(open(version_resource, "rb").read()).split(".")[:2]
version = "%s.%s" % (major, minor)
zips = glob.glob(os.path.join(dist, "Tavik-*.zip"))
sha = hashlib.sha256(open(zips[0], "rb").read()).hexdigest() if len(zips) == 1 else None
url = url + "/" + os.path.basename(zips[0]) if zips else None
folder = os.path.join(dist, "winget", "manifests", "t", "Tavik", "Tavik", version)
winget = {}
for kind, name in (("version", ""), ("installer", ".installer"), ("defaultLocale", ".locale.en-US")):
    try:
        winget[kind] = yaml.safe_load(open(os.path.join(folder, "Tavik.Tavik%s.yaml" % name)))
    except (OSError, yaml.YAMLError) as error:
        print("winget %s: %s" % (kind, error))
for kind, manifest in winget.items():
    if manifest.get("ManifestType") != kind or manifest.get("PackageVersion") != version:
        print("winget %s: type %s, version %s" % (kind, manifest.get("ManifestType"), manifest.get("PackageVersion")))
installers = winget.get("installer", {}).get("Installers") or [{}]
if (installers[0].get("InstallerSha256", "").lower(), installers[0].get("InstallerUrl")) != (sha, url):
    print("winget installer: not the zip by its checksum")
if winget.get("defaultLocale", {}).get("License") != "MIT":
    print("winget locale: not MIT")
try:
    scoop = json.load(open(os.path.join(dist, "scoop", "tavik.json")))
except (OSError, ValueError) as error:
    print("scoop: %s" % error)
else:
    wanted = {"version": version, "url": url, "hash": sha, "bin": "Tavik.exe", "license": "MIT"}
    for key, value in wanted.items():
        if scoop.get(key) != value:
            print("scoop %s: %r, not %r" % (key, scoop.get(key), value))
PY
)
check "the package manifests: ${faults:-as they should be}" '[ -z "$faults" ]'
finish
