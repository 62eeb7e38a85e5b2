#!/bin/sh
# Builds what a Windows user or administrator downloads, for x64 and x86,
# into dist/: an installer, an MSI and a portable zip each (the x64 ones
# also carry the x86 shell extension in x86\, for the Open/Save dialogs of
# 32-bit programs).
#
# Code signing, only with a real certificate: set SIGN_PFX to a PKCS#12 file
# and SIGN_PASSWORD to its password (environment or make variables, e.g.
# `make dist SIGN_PFX=/secure/codesign.pfx SIGN_PASSWORD=...`; optional
# SIGN_TIMESTAMP_URL, an RFC 3161 timestamp server). Then quillon.exe,
# Tesselator.dll and the MSI's custom-action library are signed before they
# are packed, and the installers and MSIs after, all with osslsigncode.
# Without SIGN_PFX nothing is signed.
set -eu
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(Verbosa VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "dist: no version in CMakeLists.txt" >&2; exit 1; }

make build
rm -rf dist
mkdir -p dist

sign() {
    [ -n "${SIGN_PFX:-}" ] || return 0
    for file in "$@"; do
        set -- -pkcs12 "$SIGN_PFX" -readpass "$passfile" -n "Verbosa" -h sha256
        [ -n "${SIGN_TIMESTAMP_URL:-}" ] && set -- "$@" -ts "$SIGN_TIMESTAMP_URL"
        osslsigncode sign "$@" -in "$file" -out "$file.signed" >/dev/null
        mv "$file.signed" "$file"
        echo "dist: signed $file"
    done
}

passfile=""
if [ -n "${SIGN_PFX:-}" ]; then
    [ -f "$SIGN_PFX" ] || { echo "dist: SIGN_PFX names no file: $SIGN_PFX" >&2; exit 1; }
    # The password goes to osslsigncode in a private file, not on a command line.
    passfile=$(mktemp)
    trap 'rm -f "$passfile"' EXIT
    chmod 600 "$passfile"
    printf '%s' "${SIGN_PASSWORD:-}" > "$passfile"
else
    echo "dist: SIGN_PFX is not set: nothing is signed"
fi

# The registry layout, as the store contract gives it to the program.
contract_value() {
    sed -n "s/.*char $1\[\] = \"\(.*\)\";.*/\1/p" contract/StoreContract.h | sed 's/\\\\/\\/g'
}
settings_key=$(contract_value kSettingsKey)
vendor_key=$(contract_value kVendorKey)

for arch in x64 x86; do
    bin=build/$arch/bin
    stage=dist/stage/$arch
    mkdir -p "$stage/Verbosa/Cmds"
    cp "$bin/quillon.exe" "$bin/Tesselator.dll" "$bin/quillon.chm" "$stage/Verbosa/"
    cp "$bin/VerbosaSetup.dll" "$stage/"
    nsis_x86="" wixl_x86=""
    if [ "$arch" = x64 ]; then
        mkdir -p "$stage/Verbosa/x86"
        cp build/x86/bin/Tesselator.dll "$stage/Verbosa/x86/"
        nsis_x86="-DX86DLL=$PWD/$stage/Verbosa/x86/Tesselator.dll"
        wixl_x86="-D X86Dll=$stage/Verbosa/x86/Tesselator.dll"
    fi
    sign "$stage/Verbosa/quillon.exe" "$stage/Verbosa/Tesselator.dll" "$stage/VerbosaSetup.dll"
    if [ "$arch" = x64 ]; then
        sign "$stage/Verbosa/x86/Tesselator.dll"
    fi

    (cd "$stage" && zip -q -r -X "../../Verbosa-$version-$arch-portable.zip" Verbosa)
    installer=dist/Verbosa-$version-$arch-installer.exe
    makensis -V2 -DARCH=$arch -DVERSION=$version -DBINDIR="$PWD/$stage/Verbosa" $nsis_x86 \
        -DSETTINGS_KEY="$settings_key" -DVENDOR_KEY="$vendor_key" \
        -DSETUPDLL="$PWD/$stage/VerbosaSetup.dll" \
        -DOUTFILE="$PWD/$installer" installer/verbosa.nsi
    # wixl 0.101 finds sources only by paths relative to where it runs.
    msi=dist/Verbosa-$version-$arch.msi
    wixl -a $arch -D Arch=$arch -D Version=$version -D BinDir=$stage/Verbosa \
        -D SetupDll=$stage/VerbosaSetup.dll $wixl_x86 -o "$msi" installer/verbosa.wxs
    sign "$installer" "$msi"
done
rm -rf dist/stage
ls -l dist
