#!/bin/sh
# Runs a Windows executable under Wine for ctest (CMAKE_CROSSCOMPILING_EMULATOR).
# Usage: wine-run.sh <prefix dir> <x64|x86> <program> [args...]
# The prefix lives in the build folder: made once, reused. Without a DISPLAY
# an own Xvfb is started for this run and stopped again afterwards.
set -u
prefix=$1; arch=$2; shift 2

# Wine's 64-bit loader runs PE32+ directly; PE32 needs the 32-bit loader,
# which a kernel without 32-bit ELF support cannot start. ctest reports
# such runs as skipped (77), never as passed.
if [ "$arch" = x64 ] && [ -x /usr/lib/wine/wine64 ]; then
    loader=/usr/lib/wine/wine64
elif [ "$arch" = x64 ] && command -v wine64 >/dev/null 2>&1; then
    loader=wine64
else
    loader=wine
    if [ -x /usr/lib/wine/wine64 ] && [ ! -x /usr/lib/wine/wine ]; then
        echo "SKIPPED: Wine's 32-bit part (wine32:i386) is not installed, so Wine cannot run PE32 tests" >&2
        exit 77
    fi
    if [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "SKIPPED: this machine cannot execute 32-bit programs, so Wine cannot run PE32 tests" >&2
        exit 77
    fi
fi
server=/usr/lib/wine/wineserver
[ -x "$server" ] || server=wineserver

export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# Without Wine's menu builder: Wine starts it as a process for every shortcut
# saved, its own desktop integration that Windows has not, at about 100 ms
# each and running on after the save returns.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

# Several tests may start at once; only one makes the prefix.
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
        rm -rf "$prefix"
        "$loader" wineboot -i >/dev/null 2>&1
        "$server" -w
    fi
) 9>"$prefix.lock"

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
    . "$(dirname "$0")/../scripts/xvfb.sh"
    start_xvfb $(( ($$ % 400) + 100 )) 1280x1024x24
fi

"$loader" "$@"
rc=$?

[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit $rc
