#!/bin/sh
# Runs a test program under Wine at a display scale. Wine reads the LogPixels
# value when a process starts, so it is set before the run and put back to
# 96 after it. The prefix is the scaled runs' own, so that no test running
# meanwhile in the shared prefix starts at this scale; ctest gives its
# users one at a time (RESOURCE_LOCK).
# Usage: wine-dpi-run.sh <prefix dir> <x64|x86> <dpi> <program> [args...]
set -u
prefix=$1; arch=$2; dpi=$3; shift 3
run="$(dirname "$0")/wine-run.sh"

set_dpi() {
    "$run" "$prefix" "$arch" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

set_dpi "$dpi"
rc=$?
[ $rc -eq 0 ] || exit $rc # 77: this machine cannot run the architecture
"$run" "$prefix" "$arch" "$@"
rc=$?
set_dpi 96
exit $rc
