#!/bin/sh
# Installs what building and testing need on a Debian 12 machine. Idempotent:
# a second run only checks and returns.
set -eu

PACKAGES="cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
wine wine64 wine32:i386 libwine-dev xvfb xauth googletest fp-utils-3.2.2 nsis
imagemagick zip unzip nlohmann-json3-dev libutfcpp-dev clang libclang-rt-14-dev wixl osslsigncode"

missing=""
for p in $PACKAGES; do
    dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "setup: missing packages:$missing (run as root to install them)" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
case " $missing " in
    *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
esac
# A mirror in the middle of a sync serves an index whose size does not match
# its Release file; a pause and another try usually gets a consistent one.
# When every try fails, the install still runs on the indexes that did
# arrive: the failed one often holds nothing this project needs.
index_note=""
tries=0
until apt-get update -q 2>/tmp/verbosa-apt-update.err && ! grep -q '^E:' /tmp/verbosa-apt-update.err; do
    tries=$((tries + 1))
    failed=$(sed -n 's/^E: Failed to fetch \([^ ]*\).*/\1/p' /tmp/verbosa-apt-update.err)
    if [ "$tries" -ge 5 ]; then
        index_note="setup: these package indexes could not be updated after $tries tries: ${failed:-see above}
setup: a mirror was probably being synchronised; a later retry usually helps."
        cat /tmp/verbosa-apt-update.err >&2
        echo "$index_note" >&2
        break
    fi
    echo "setup: package index update failed (try $tries of 5): ${failed:-see apt's message}; trying again in $((tries * 15)) s" >&2
    sleep $((tries * 15))
done
if apt-get install -y -q --no-install-recommends $missing; then
    exit 0
fi
[ -n "$index_note" ] && echo "$index_note" >&2
# A missing i386 index leaves the 32-bit packages unresolvable while the
# rest installs: the x86 build still works, and its tests report themselves
# skipped (never passed) until a later run installs Wine's 32-bit part.
[ -n "$index_note" ] || exit 1
native=""
for p in $missing; do
    case "$p" in *:i386) ;; *) native="$native $p" ;; esac
done
[ -n "$native" ] && ! apt-get install -y -q --no-install-recommends $native && exit 1
echo "setup: WARNING: the 32-bit packages could not be installed; x86 tests will be reported as skipped." >&2
