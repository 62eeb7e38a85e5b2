#!/bin/sh
# Builds and runs benchmark programs of the x64 build under Wine.
# Usage: scripts/bench.sh [<bench target> [args...]]   (no target: every one)
set -eu
cd "$(dirname "$0")/.."
[ -f build/x64/CMakeCache.txt ] || cmake --preset x64
if [ $# -eq 0 ]; then
    for name in bench_app_listing bench_systemcmds_reload bench_shellext_menu bench_transfer_read bench_transfer_import; do
        echo "== $name =="
        "$0" "$name"
    done
    exit 0
fi
name=$1; shift
cmake --build --preset x64 --target "$name"
exec cmake/wine-run.sh "$PWD/build/x64/wineprefix" x64 "build/x64/bin/$name.exe" "$@"
