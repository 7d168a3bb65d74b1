#include "state/DriverFilesDir.h"

#include <winspool.h>
#include <strsafe.h>

namespace {

// The environment whose driver folder holds the printer's driver: the process's own (asked for with
// none), except in a 32-bit process on 64-bit Windows, such as a 32-bit setup or print-time component
// calling the 32-bit copy of the library. Its printer's driver, INI, print files and colour-data
// library are installed for x64, while the spooler would give it the 32-bit folder.
LPWSTR DriverEnvironment() {
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) return const_cast<LPWSTR>(L"Windows x64");
    return nullptr;
}

}  // namespace

bool GetDriverFilesDir(LPWSTR dir, size_t cchDir) {
    if (!dir || cchDir == 0) return false;
    dir[0] = L'\0';

    DWORD needed = 0;
    const DWORD cbDir = (DWORD)(cchDir * sizeof(WCHAR));
    if (!GetPrinterDriverDirectoryW(nullptr, DriverEnvironment(), 1, reinterpret_cast<LPBYTE>(dir), cbDir,
                                    &needed)) {
        dir[0] = L'\0';
        return false;
    }
    if (FAILED(StringCchCatW(dir, cchDir, L"\\3\\"))) {
        dir[0] = L'\0';
        return false;
    }
    return true;
}
