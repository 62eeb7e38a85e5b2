#!/bin/sh
# Takes the README's pictures of the real program under Wine and Xvfb:
# docs/main-window.png (make run's screenshot) and docs/new-command.png
# (the dialog that "Create Shortcut Command" opens for a file).
set -eu
cd "$(dirname "$0")/.."
root=$PWD
mkdir -p docs

env -u DISPLAY scripts/run.sh
cp build/quillon-main-window.png docs/main-window.png

export WINEPREFIX="$root/build/run/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
loader=wine64
[ -x /usr/lib/wine/wine64 ] && loader=/usr/lib/wine/wine64
server=wineserver
[ -x /usr/lib/wine/wineserver ] && server=/usr/lib/wine/wineserver

xvfb_pid=""
cleanup() {
    "$server" -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM
. scripts/xvfb.sh
start_xvfb 140 1024x768x24

"$loader" 'C:\Program Files\Verbosa\quillon.exe' 'C:\windows\notepad.exe' &
sleep "${RUN_SETTLE_SECONDS:-8}"
import -window root build/run/dialog.png
convert build/run/dialog.png -trim +repage docs/new-command.png
echo "screenshots: docs/main-window.png docs/new-command.png"
