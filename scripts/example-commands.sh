#!/bin/sh
# Writes a few example commands' properties files into a Cmds folder (the
# listing reads these), for screenshots of a program in use. Existing
# files are left alone.
set -eu
cmds=$1
mkdir -p "$cmds"
example() { # name target parameters mode
    f="$cmds/run_$1.cfg"
    [ -e "$f" ] || printf '%s\r\n%s\r\n%s\r\n%s\r\n' "$1" "$2" "$3" "$4" > "$f"
}
example notes 'C:\windows\notepad.exe' '' 1
example reg 'C:\windows\regedit.exe' '' 3
example winfiles 'C:\windows' '' 1
example readme 'C:\Program Files\Verbosa\readme.txt' '' 1
example news 'http://www.example.com/' '' 1
example calc 'C:\windows\system32\calc.exe' '' 7
