#!/bin/sh
# Builds and runs one benchmark program of the x64 build under Wine.
# Usage: scripts/bench.sh <bench target> [args...]
set -eu
cd "$(dirname "$0")/.."
name=$1; shift
[ -f build/x64/CMakeCache.txt ] || cmake --preset x64
cmake --build --preset x64 --target "$name"
exec cmake/wine-run.sh "$PWD/build/x64/wineprefix" x64 "build/x64/bin/$name.exe" "$@"
