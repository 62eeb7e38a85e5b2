#!/bin/sh
# Runs the tests of the given architectures under Wine, with one Xvfb for the
# whole run unless a DISPLAY is given. Fails when any test fails.
set -u
cd "$(dirname "$0")/.."

xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; }
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
    n=90
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    i=0
    while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
fi

# The x64 tests register the x86 build of the shell extension as well when
# there is one (and the machine can run it).
[ -f build/x86/bin/Tesselator.dll ] && export VERBOSA_X86_LIBRARY="Z:$PWD/build/x86/bin/Tesselator.dll"

status=0
for arch in "$@"; do
    echo "== tests ($arch) =="
    ctest --preset "$arch" --no-tests=error || status=1
done
exit $status
