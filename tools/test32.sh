#!/bin/sh
# make test32: the shipped 32-bit build under 32-bit Wine.
#
# This kernel runs no 32-bit code, so the tests run in an i386 Debian root with
# Debian's i386 Wine, every i386 program started through qemu-i386 (user-mode
# emulation, registered with binfmt_misc for as long as the run lasts). The root
# is built once and cached outside the checkout; later runs download nothing.
#
#   tools/test32.sh BUILD_DIR [DIST_DIR]
#       set up the root when needed, then run CTest's emulated tests of BUILD_DIR
#       (the i686 build); with DIST_DIR (make dist's folder) the end-to-end
#       script runs the Tavik.exe taken out of the release zip named in SHA256SUMS
#
# Everything runs in a private mount namespace, so the root's mounts vanish with
# the run however it ends; the binfmt entry and the Wine and Xvfb processes are
# removed by the exit trap (and by the next run, should this one be killed).
set -eu
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
cache=${TAVIK_CACHE:-/var/cache/tavik}
entry=tavik-i386
binfmt=/proc/sys/fs/binfmt_misc
# libxrandr2: Wine finds the display's monitors through XRandR (the tests' two).
wine_packages="wine wine32 libfreetype6 fontconfig fonts-dejavu-core libxrandr2 libxinerama1"

fail() {
    echo "test32: $*" >&2
    exit 1
}
run_start=$(date +%s)
phase_start=$run_start
phase() { # name: prints how long the phase that just ended took
    now=$(date +%s)
    echo "test32: $1: $((now - phase_start)) s (total $((now - run_start)) s)"
    phase_start=$now
}

# --- Checks that need no changes to the machine. ---
[ "$(id -u)" = 0 ] || fail "must run as root: it mounts file systems, registers qemu-i386 with binfmt_misc and builds a Debian root in $cache"
[ -e /proc/sys/fs/binfmt_misc ] || fail "this kernel has no binfmt_misc (/proc/sys/fs/binfmt_misc is missing); it is needed to run i386 programs through qemu-i386"
command -v unshare >/dev/null || fail "unshare (util-linux) is missing"

# The cache as the kernel names it (no relative part, trailing slash or symlink):
# the clean-up finds the root's processes by comparing /proc/PID/root with it.
mkdir -p "$cache" || fail "cannot create $cache"
cache=$(cd "$cache" && pwd -P)
root=$cache/root32
qemu_dir=$cache/qemu
# Whoever owns the checkout owns what a run as root leaves in its build folder.
owner=$(stat -c %u:%g "$top")

# --- Inside the private mount namespace from here on. ---
if [ "${TAVIK_TEST32_INNER:-}" != 1 ]; then
    export TAVIK_TEST32_INNER=1
    exec unshare --mount --propagation private "$0" "$@"
fi

# Processes whose root directory is the i386 root (Wine, its server, helpers).
# Set-up steps run under timeout --foreground: in the terminal's process group,
# so that Ctrl-C reaches them at once.
root_processes() {
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && echo "${p#/proc/}"
    done
    return 0
}
cleanup() {
    status=$?
    set +e
    trap - EXIT INT TERM HUP
    # The tests run in a process group of their own (timeout's): end it whole,
    # the end-to-end script's window manager and xclock with it.
    if [ -n "${tests_pid:-}" ] && kill -0 "$tests_pid" 2>/dev/null; then
        kill -TERM "-$tests_pid" 2>/dev/null
        sleep 2
        kill -KILL "-$tests_pid" 2>/dev/null
    fi
    pids=$(root_processes)
    [ -n "$pids" ] && kill -9 $pids 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    [ -e "$binfmt/$entry" ] && echo -1 >"$binfmt/$entry"
    # The Wine prefix, screenshots and objects made here as root go back to the
    # checkout's owner, so that make and make clean work for them afterwards.
    [ -d "$top/build" ] && chown -R "$owner" "$top/build" 2>/dev/null
    # The mounts belong to this namespace and vanish with it.
    exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

if [ ! -e "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
        fail "cannot mount binfmt_misc on $binfmt"
fi
# A run that was killed may have left its entry.
[ -e "$binfmt/$entry" ] && echo -1 >"$binfmt/$entry"

free_kb() { df -Pk "$cache" | awk 'NR == 2 {print $4}'; }

# --- qemu-i386 10.x from bookworm-backports, unpacked into the cache. ---
if [ ! -e "$qemu_dir/.complete" ]; then
    [ "$(free_kb)" -ge 300000 ] || fail "not enough disk space in $cache for qemu (300 MB needed)"
    rm -rf "$qemu_dir"
    mkdir -p "$qemu_dir/apt/lists/partial" "$qemu_dir/apt/cache/archives/partial"
    mirror=$(grep -h -o -E 'https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list \
        /etc/apt/sources.list.d/* 2>/dev/null | head -1 | tr -d ' ')
    mirror=${mirror:-http://deb.debian.org/debian}
    echo "deb ${mirror%/} bookworm-backports main" >"$qemu_dir/apt/sources.list"
    apt_opts="-o Dir::Etc::SourceList=$qemu_dir/apt/sources.list -o Dir::Etc::SourceParts=/dev/null
        -o Dir::State::Lists=$qemu_dir/apt/lists -o Dir::Cache=$qemu_dir/apt/cache
        -o APT::Sandbox::User=root"
    # shellcheck disable=SC2086
    timeout --foreground 600 apt-get -q $apt_opts update >/dev/null || fail "cannot read bookworm-backports from $mirror"
    # shellcheck disable=SC2086
    (cd "$qemu_dir" && timeout --foreground 600 apt-get -q $apt_opts download qemu-user >/dev/null) ||
        fail "cannot download qemu-user from bookworm-backports"
    dpkg-deb -x "$qemu_dir"/qemu-user_*.deb "$qemu_dir"
    rm -rf "$qemu_dir"/qemu-user_*.deb "$qemu_dir/apt"
    "$qemu_dir/usr/bin/qemu-i386" --version | head -1
    [ -x "$qemu_dir/usr/libexec/qemu-binfmt/i386-binfmt-P" ] ||
        fail "the qemu-user package has no binfmt wrapper i386-binfmt-P"
    touch "$qemu_dir/.complete"
    phase "qemu-i386 unpacked"
fi

# Registered with F: the kernel opens the interpreter now, so it also works
# inside the root. The name ending in -binfmt-P tells qemu that argv[0] is kept.
magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
echo ":$entry:M::$magic:$mask:$qemu_dir/usr/libexec/qemu-binfmt/i386-binfmt-P:OPF" \
    >"$binfmt/register" || fail "cannot register qemu-i386 with binfmt_misc"

# --- The i386 root with Wine. A half-built root (no .complete) is rebuilt. ---
if [ ! -e "$root/.complete" ]; then
    if [ -d "$root" ]; then
        echo "test32: removing the incomplete i386 root $root"
        rm -rf --one-file-system "$root"
    fi
    [ "$(free_kb)" -ge 3000000 ] || fail "not enough disk space in $cache for the i386 root (3 GB needed, $(($(free_kb) / 1024)) MB free)"
    command -v debootstrap >/dev/null || {
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap >/dev/null ||
            fail "cannot install debootstrap"
    }
    mirror=${mirror:-$(grep -h -o -E 'https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list \
        /etc/apt/sources.list.d/* 2>/dev/null | head -1 | tr -d ' ')}
    mirror=${mirror:-http://deb.debian.org/debian}
    echo "test32: building the i386 root in $root (about 5 minutes)"
    timeout --foreground 1800 debootstrap --variant=minbase --arch=i386 bookworm "$root" "${mirror%/}" \
        >"$cache/debootstrap.log" 2>&1 || fail "debootstrap failed, see $cache/debootstrap.log"
    phase "debootstrap"
    mount -t proc proc "$root/proc"
    mount --bind /dev "$root/dev"
    timeout --foreground 1800 chroot "$root" sh -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
        --no-install-recommends $wine_packages && apt-get clean" >"$cache/wine-install.log" 2>&1 ||
        fail "installing Wine into the root failed, see $cache/wine-install.log"
    umount "$root/dev" "$root/proc"
    # Marked complete only once i386 programs really run in it.
    chroot "$root" /bin/true || fail "the i386 root's programs do not run through qemu-i386"
    echo "$wine_packages" >"$root/.complete"
    phase "Wine installed in the root"
fi
# A root made for another list of packages gets what it lacks (.complete names
# the list it has).
if [ "$(cat "$root/.complete")" != "$wine_packages" ]; then
    mount -t proc proc "$root/proc"
    mount --bind /dev "$root/dev"
    timeout --foreground 1800 chroot "$root" sh -c "apt-get update -q && \
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        $wine_packages && apt-get clean" >"$cache/wine-install.log" 2>&1 ||
        fail "updating the root's packages failed, see $cache/wine-install.log"
    umount "$root/dev" "$root/proc"
    echo "$wine_packages" >"$root/.complete"
    phase "the root's packages updated"
fi

# --- Mounts for the run (private to this namespace). ---
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"
mkdir -p "$root$top"
mount --bind "$top" "$root$top"

# A display of our own; X clients in the root reach it through its abstract socket.
. "$top/tools/xvfb.sh"
start_xvfb
[ -n "$DISPLAY" ] || fail "Xvfb did not start"

export TAVIK_ROOT32="$root"
if [ -n "${2:-}" ]; then
    dist=$(cd "$2" && pwd)
    zip=$dist/$(awk '{print $2}' "$dist/SHA256SUMS")
    (cd "$dist" && sha256sum -c --quiet SHA256SUMS) || fail "$zip does not match SHA256SUMS"
    rm -rf "$build/from-zip"
    mkdir -p "$build/from-zip"
    unzip -q "$zip" Tavik.exe -d "$build/from-zip" || fail "no Tavik.exe in $zip"
    export TAVIK_E2E_EXE="Z:$build/from-zip/Tavik.exe"
    echo "test32: the end-to-end script runs Tavik.exe from $zip"
fi
cd "$build"
phase "set-up"
status=0
# In the background, so that an interrupt reaches the trap at once.
# shellcheck disable=SC2086
timeout 1200 ctest -L wine --output-on-failure ${TAVIK_CTEST_ARGS:-} &
tests_pid=$!
wait $tests_pid || status=$?
phase "tests"
exit $status
