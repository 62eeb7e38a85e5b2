#!/bin/sh
# Builds quillon.exe (x64), installs it into a Wine prefix the way a user
# has it (C:\Program Files\Verbosa with its Cmds folder beside it) and
# starts it. With a DISPLAY the program opens there and the script waits
# for it to close. Without one it runs under an Xvfb of its own, saves a
# screenshot of the main window, prints the PNG's path and exits.
set -eu
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh
cmake --preset x64 >/dev/null # cheap when configured; mends a stale tree
cmake --build --preset x64 --target quillon help_file

run=$root/build/run
export WINEPREFIX="$run/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
loader=wine64
[ -x /usr/lib/wine/wine64 ] && loader=/usr/lib/wine/wine64
server=wineserver
[ -x /usr/lib/wine/wineserver ] && server=/usr/lib/wine/wineserver

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run: making the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    mkdir -p "$run"
    "$loader" wineboot -i >/dev/null 2>&1
    "$server" -w
fi

program="$WINEPREFIX/drive_c/Program Files/Verbosa"
mkdir -p "$program/Cmds"
cp build/x64/bin/quillon.exe build/x64/bin/quillon.chm "$program/"
[ -f build/x64/bin/Tesselator.dll ] && cp build/x64/bin/Tesselator.dll "$program/"
exe='C:\Program Files\Verbosa\quillon.exe'

if [ -n "${DISPLAY:-}" ]; then
    echo "run: starting $exe"
    exec "$loader" "$exe"
fi

# No display: an Xvfb of our own, a few example commands, one picture.
xvfb_pid=""
cleanup() {
    "$server" -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM
. scripts/xvfb.sh
start_xvfb 120 1024x768x24

scripts/example-commands.sh "$program/Cmds"

"$loader" "$exe" &
shot="$root/build/quillon-main-window.png"
rm -f "$shot"
# Give the window time to appear and draw its icons.
sleep "${RUN_SETTLE_SECONDS:-8}"
import -window root "$root/build/run/screen.png"
convert "$root/build/run/screen.png" -trim +repage "$shot"
echo "run: screenshot of the main window: $shot"
