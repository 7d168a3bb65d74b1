#!/usr/bin/env bash
# Checks the built zvaaSUI.dll as a driver package would ship it: a PE32 (x86) or PE32+ (x64) DLL whose
# exports are exactly the undecorated names below, importing only system DLLs.
#   check-dll.sh DLL x86|x64
set -uo pipefail
dll=$1
arch=${2:-x86}
fail=0
case $arch in
    x64) objdump=x86_64-w64-mingw32-objdump format='pei-x86-64' kind='PE32+ (x64)' ;;
    *)   objdump=i686-w64-mingw32-objdump   format='pei-i386'   kind='PE32 (x86)' ;;
esac

expected_exports="DllCanUnloadNow DllGetClassObject GetColorDataDLLPath GetOEMPrefix OEMDeletePrinterDriver OEMEjectPageCmd OEMGetNumAlignValues OEMStartVendorSetup PopupBannerDialog PopupManualDialog PreInstall StartPostInstall"
system_dlls='^(kernel32|user32|gdi32|advapi32|winspool\.drv|comctl32|ole32|oleaut32|oleacc|shell32|msvcrt|ntdll|comdlg32|shlwapi|version)(\.dll)?$'

dump=$("$objdump" -p "$dll") || { echo "cannot read $dll"; exit 1; }

if ! grep -q "file format $format\$" <<<"$dump"; then
    echo "not a $kind image"; fail=1
fi
if ! grep -qE '^Characteristics .*' <<<"$dump" || ! grep -q 'DLL' <<<"$(grep -A12 '^Characteristics' <<<"$dump")"; then
    echo "not marked as a DLL"; fail=1
fi

# Export names from the "[Ordinal/Name Pointer] Table".
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\s*\[\s*[0-9]*\]\s*//p' | sort | xargs)
if [ "$exports" != "$expected_exports" ]; then
    echo "exports differ:"; echo "  expected: $expected_exports"; echo "  found:    $exports"; fail=1
fi

imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
bad=$(grep -v -i -E "$system_dlls" <<<"$imports")
if [ -n "$bad" ]; then
    echo "imports non-system DLLs:"; echo "$bad"; fail=1
fi

[ $fail -eq 0 ] && echo "zvaaSUI.dll: $kind DLL, exports: $exports; imports: $(xargs <<<"$imports")"
exit $fail
