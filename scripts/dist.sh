#!/bin/sh
# Builds what a Windows user downloads, for x64 and x86, into dist/:
# an installer and a portable zip each (the x64 ones also carry the x86
# shell extension in x86\, for the Open/Save dialogs of 32-bit programs).
set -eu
cd "$(dirname "$0")/.."
version=3.0.0.2

make build
rm -rf dist
mkdir -p dist

for arch in x64 x86; do
    bin=build/$arch/bin
    stage=dist/stage/$arch/Verbosa
    mkdir -p "$stage/Cmds"
    cp "$bin/quillon.exe" "$bin/Tesselator.dll" "$bin/quillon.chm" "$stage/"
    extra=""
    if [ "$arch" = x64 ]; then
        mkdir -p "$stage/x86"
        cp build/x86/bin/Tesselator.dll "$stage/x86/"
        extra="-DX86DLL=$PWD/build/x86/bin/Tesselator.dll"
    fi
    (cd "dist/stage/$arch" && zip -q -r -X "../../Verbosa-$version-$arch-portable.zip" Verbosa)
    makensis -V2 -DARCH=$arch -DBINDIR="$PWD/$bin" $extra \
        -DOUTFILE="$PWD/dist/Verbosa-$version-$arch-installer.exe" installer/verbosa.nsi
done
rm -rf dist/stage
ls -l dist
