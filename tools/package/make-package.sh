#!/usr/bin/env bash
# make package: the driver package of both architectures, as a folder and as a zip of it.
#
#   make-package.sh BUILD_ROOT [GPD PRINTFILES]
#
# BUILD_ROOT holds the built trees x86/ and x64/. GPD (a file) and PRINTFILES (a folder with the eight
# prepared print files) are the printer maker's; without them the example GPD and the demo's print
# files are taken, and the package is called an example (zvaa-example). Writes BUILD_ROOT/package/NAME/
# and BUILD_ROOT/package/NAME-VERSION.zip, VERSION being the file version of the DLLs' version
# resource. Any fault stops it with one line before anything of the package is written.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: make-package.sh BUILD_ROOT [GPD PRINTFILES]}" && pwd)
gpd=${2:-}
printfiles=${3:-}
staging=
trap '[ -z "$staging" ] || rm -rf "$staging"' EXIT
fail() {
    echo "package: $*" >&2
    exit 1
}

# --- What goes in, checked before anything is written ------------------------------------------------
model=$(sed -n 's/^OEMDriverName=\(.*\)\r\{0,1\}$/\1/p' "$here/zvaa.ini")
[ -n "$model" ] || fail "tools/package/zvaa.ini names no OEMDriverName"
name=zvaa
if [ -z "$gpd" ] && [ -z "$printfiles" ]; then
    name=zvaa-example gpd=$here/example/zv30.gpd printfiles=$root/tools/demo/printfiles
elif [ -z "$gpd" ] || [ -z "$printfiles" ]; then
    fail "GPD and PRINTFILES go together: the printer's own GPD with its own print files"
fi
[ -f "$gpd" ] || fail "GPD $gpd: no such file"
[ -d "$printfiles" ] || fail "PRINTFILES $printfiles: no such folder"
gpd_model=$(sed -n 's/^[[:space:]]*\*ModelName:[[:space:]]*"\([^"]*\)".*/\1/p' "$gpd" | head -n 1)
[ "$gpd_model" = "$model" ] || fail "GPD $gpd: *ModelName is \"$gpd_model\", the package's model is \"$model\""
gpd_file=$(basename "$gpd")
# The print files are those the INF lists.
mapfile -t print_names < <(grep -E '^zvaa(cln|alg)[0-9]+\.out$' "$here/zvaa.inf.in")
for file in "${print_names[@]}"; do
    [ -f "$printfiles/$file" ] || fail "PRINTFILES $printfiles: $file is missing"
done

declare -A dll=([x86]=$build/x86/bin/zvaaSUI.dll [amd64]=$build/x64/bin/zvaaSUI.dll)
declare -A machine=([x86]=14c [amd64]=8664)
version=
for arch in x86 amd64; do
    [ -f "${dll[$arch]}" ] || fail "${dll[$arch]}: not built"
    # PE machine type and the file version of VS_FIXEDFILEINFO, read from the file itself.
    found=$(python3 - "${dll[$arch]}" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
pe = struct.unpack_from('<I', data, 0x3C)[0]
machine = struct.unpack_from('<H', data, pe + 4)[0]
at = data.find(b'\xbd\x04\xef\xfe')
ms, ls = struct.unpack_from('<II', data, at + 8) if at >= 0 else (0, 0)
print('%x %d.%d.%d.%d' % (machine, ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF))
PY
)
    [ "${found%% *}" = "${machine[$arch]}" ] || fail "${dll[$arch]}: not a DLL for $arch (machine ${found%% *})"
    [ -z "$version" ] || [ "$version" = "${found#* }" ] || fail "the DLLs' versions differ: $version and ${found#* }"
    version=${found#* }
done
[ "$version" != 0.0.0.0 ] || fail "zvaaSUI.dll has no version resource"

# --- The package, written beside its place and moved there whole -----------------------------------------
out=$build/package
mkdir -p "$out"
staging=$(mktemp -d "$out/.staging.XXXXXX")
folder=$staging/$name
mkdir -p "$folder/x86" "$folder/amd64"
cp "${dll[x86]}" "$folder/x86/zvaaSUI.dll"
cp "${dll[amd64]}" "$folder/amd64/zvaaSUI.dll"
cp "$gpd" "$folder/$gpd_file"
for file in "${print_names[@]}"; do cp "$printfiles/$file" "$folder/$file"; done
# The INI files in UTF-16 with a byte-order mark and CRLF: the platform's profile reader then keeps
# every character, whatever the machine's code page.
utf16() { { printf '\xff\xfe'; sed 's/\r\{0,1\}$/\r/' "$1" | iconv -f UTF-8 -t UTF-16LE; } > "$2"; }
utf16 "$here/zvaa.ini" "$folder/zvaa.ini"
utf16 "$here/zvaaPLC.INI" "$folder/zvaaPLC.INI"
date=$(date -u ${SOURCE_DATE_EPOCH:+-d @$SOURCE_DATE_EPOCH} +%m/%d/%Y)
hardware_id="USBPRINT\\$(sed 's/ /_/g' <<<"Zelvorn${model#Zelvorn }")"
fill() {
    sed -e "s|@MODEL@|$model|g" -e "s|@VERSION@|$version|g" -e "s|@DATE@|$date|g" -e "s|@GPD@|$gpd_file|g" \
        -e "s|@HARDWARE_ID@|${hardware_id//\\/\\\\}|g" -e "s|@NAME@|$name|g" "$1"
}
fill "$here/zvaa.inf.in" | sed 's/$/\r/' > "$folder/zvaa.inf"
{
    [ "$name" = zvaa-example ] && printf '%s\n\n' \
        "**Example package, not for a real printer:** its GPD and print files are examples; build the real one with \`make package GPD=... PRINTFILES=...\`."
    fill "$here/INSTALL.md.in"
} > "$folder/INSTALL.md"

zip=$name-$version.zip
(cd "$staging" && python3 -c '
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for top, dirs, files in os.walk(sys.argv[2]):
        dirs.sort()
        for f in sorted(files):
            z.write(os.path.join(top, f))
' "$zip" "$name")

rm -rf "${out:?}/$name" "$out/$name"-*.zip
mv "$folder" "$out/$name"
mv "$staging/$zip" "$out/$zip"
rm -rf "$staging"
staging=
echo "package: $out/$name/ and $out/$zip ($model, version $version)"
