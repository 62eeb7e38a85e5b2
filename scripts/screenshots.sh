#!/bin/sh
# Takes the README's pictures of the real program under Wine and Xvfb:
# docs/main-window.png (make run's screenshot), docs/new-command.png (the
# dialog that "Create Shortcut Command" opens for a file) and
# docs/main-window-150.png (the main window at 150 % display scale); and
# help/fast-folders-menu.png (the Fast Folders menu, for the help and the
# README).
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
start_xvfb 140 1600x1200x24

"$loader" 'C:\Program Files\Verbosa\quillon.exe' 'C:\windows\notepad.exe' &
sleep "${RUN_SETTLE_SECONDS:-8}"
import -window root build/run/dialog.png
convert build/run/dialog.png -trim +repage docs/new-command.png
# 150 %: Wine reads LogPixels when a program starts; the prefix goes back
# to 96 afterwards.
"$server" -k 2>/dev/null || true
set_dpi() {
    "$loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
set_dpi 144
"$loader" 'C:\Program Files\Verbosa\quillon.exe' &
sleep "${RUN_SETTLE_SECONDS:-8}"
import -window root build/run/scaled.png
"$server" -k 2>/dev/null || true
set_dpi 96
convert build/run/scaled.png -trim +repage docs/main-window-150.png
# The Fast Folders menu, staged by a host of the library's own (Wine's
# dialogs load no background handlers): two aliases and a window list
# showing three folders, one of them the menu's own and so left out.
cmake --build --preset x64 --target shellext_menu_host Tesselator >/dev/null
"$loader" build/x64/bin/shellext_menu_host.exe "$(winepath -w build/x64/bin/Tesselator.dll)" 'C:\windows' \
    'C:\users\Public\Documents' 'C:\windows\system32' 'C:\windows' &
host_pid=$!
sleep "${RUN_SETTLE_SECONDS:-8}"
import -window root build/run/menu.png
wait "$host_pid" || true
convert build/run/menu.png -trim +repage help/fast-folders-menu.png
echo "screenshots: docs/main-window.png docs/new-command.png docs/main-window-150.png help/fast-folders-menu.png"
