#!/bin/sh
# Runs the tests of the given architectures under Wine, with one Xvfb for the
# whole run unless a DISPLAY is given. Fails when any test fails.
set -u
cd "$(dirname "$0")/.."

xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; }
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
    . scripts/xvfb.sh
    start_xvfb 90 1280x1024x24
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
