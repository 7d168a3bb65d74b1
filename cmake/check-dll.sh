#!/usr/bin/env bash
# Checks the built zvaaSUI.dll as a driver package would ship it: a PE32 DLL whose exports are
# exactly the undecorated names below, importing only system DLLs.
set -uo pipefail
dll=$1
fail=0

expected_exports="DllCanUnloadNow DllGetClassObject GetColorDataDLLPath GetOEMPrefix OEMDeletePrinterDriver OEMEjectPageCmd OEMGetNumAlignValues OEMStartVendorSetup PopupBannerDialog PopupManualDialog PreInstall StartPostInstall"
system_dlls='^(kernel32|user32|gdi32|advapi32|winspool\.drv|comctl32|ole32|oleaut32|shell32|msvcrt|ntdll|comdlg32|shlwapi|version)(\.dll)?$'

dump=$(i686-w64-mingw32-objdump -p "$dll") || { echo "cannot read $dll"; exit 1; }

if ! grep -q 'file format pei-i386' <<<"$dump"; then
    echo "not a PE32 (i386) image"; fail=1
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

[ $fail -eq 0 ] && echo "zvaaSUI.dll: PE32 DLL, exports: $exports; imports: $(xargs <<<"$imports")"
exit $fail
