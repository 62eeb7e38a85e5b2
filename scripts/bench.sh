#!/bin/sh
# Builds and runs benchmark programs of the x64 build under Wine.
# Usage: scripts/bench.sh all                      every bench, each table in turn
#        scripts/bench.sh <bench target> [args...]  one bench
# The benches are the bench_* programs that bench/*/CMakeLists.txt define.
set -eu
cd "$(dirname "$0")/.."
[ -f build/x64/CMakeCache.txt ] || cmake --preset x64
if [ $# -eq 0 ] || [ "$1" = all ]; then
    # Every bench executable; the WIN32 ones are programs a bench starts, not benches.
    names=$(grep -h '^add_executable(bench_' bench/*/CMakeLists.txt | grep -v ' WIN32 ' |
        sed 's/^add_executable(\(bench_[a-z0-9_]*\).*/\1/')
    for name in $names; do
        echo "== $name =="
        "$0" "$name"
        echo
    done
    exit 0
fi
name=$1; shift
cmake --build --preset x64 --target "$name" >/dev/null
# Wine says for every shortcut saved that Z:'s volume label cannot be read,
# and Xvfb that its clients went: neither is the bench's news. Only the
# error stream is filtered; the bench's own exit status is kept.
status=$(mktemp)
{ { cmake/wine-run.sh "$PWD/build/x64/wineprefix" x64 "build/x64/bin/$name.exe" "$@"; echo $? >"$status"; } 2>&1 1>&3 3>&- |
    grep -v -e 'FS volume label and serial are not available' -e '^X connection to ' >&2 3>&- || :; } 3>&1
rc=$(cat "$status"); rm -f "$status"
exit "$rc"
