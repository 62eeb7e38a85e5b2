#!/bin/sh
# Installs what building and testing need on a Debian 12 machine. Idempotent:
# a second run only checks and returns.
set -eu

PACKAGES="cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
wine wine64 wine32:i386 libwine-dev xvfb xauth googletest fp-utils-3.2.2 nsis
imagemagick zip unzip nlohmann-json3-dev clang libclang-rt-14-dev wixl osslsigncode"

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
apt-get update -q
apt-get install -y -q --no-install-recommends $missing
