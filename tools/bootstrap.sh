#!/bin/sh
# Installs the Debian packages that building and testing Tavik need.
# Quick when everything is present: it only calls apt-get when a tool is missing.
# Prints one line per step; apt's output is kept in build/bootstrap.log.
set -eu

need=""
check() {
    # $1: a file that proves the package is installed, $2: the package
    if [ ! -e "$1" ]; then
        need="$need $2"
    fi
}

check /usr/bin/cmake cmake
check /usr/bin/make make
check /usr/bin/x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
check /usr/bin/i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix
check /usr/bin/x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64
check /usr/bin/i686-w64-mingw32-windres binutils-mingw-w64-i686
check /usr/lib/wine/wine64 wine64
check /usr/bin/xvfb-run xvfb
check /usr/bin/xauth xauth
check /usr/bin/xdotool xdotool
check /usr/bin/import imagemagick
check /usr/bin/xwd x11-apps
check /usr/bin/xprop x11-utils
check /usr/bin/xsetroot x11-xserver-utils
check /usr/bin/icewm icewm
check /usr/lib/xorg/Xorg xserver-xorg-core
check /usr/lib/xorg/modules/drivers/dummy_drv.so xserver-xorg-video-dummy
check /usr/include/X11/Xlib.h libx11-dev
check /usr/src/googletest/CMakeLists.txt googletest
check /usr/bin/clang clang
check /usr/bin/wrestool icoutils
check /usr/bin/python3 python3
check /usr/lib/python3/dist-packages/yaml python3-yaml
check /usr/bin/clang-format clang-format
check /usr/bin/zip zip
check /usr/bin/unzip unzip
check /usr/bin/bc bc
for lib in /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a; do
    [ -e "$lib" ] && break
done
check "$lib" libclang-rt-14-dev

if [ -z "$need" ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" != 0 ]; then
    SUDO=sudo
fi
# One line per step; apt's own output goes to a log, shown only when it fails.
mkdir -p build
log=build/bootstrap.log
: >"$log"
apt_step() { # description, apt-get arguments
    echo "bootstrap: $1"
    shift
    if ! $SUDO env DEBIAN_FRONTEND=noninteractive apt-get "$@" >>"$log" 2>&1; then
        cat "$log" >&2
        echo "bootstrap: apt-get $* failed (log: $log)" >&2
        exit 1
    fi
}
apt_step "reading the package lists" update -q
# shellcheck disable=SC2086
apt_step "installing$need" install -y -q --no-install-recommends $need
