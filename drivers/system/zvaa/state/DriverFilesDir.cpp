#include "state/DriverFilesDir.h"

#include <winspool.h>
#include <strsafe.h>

bool GetDriverFilesDir(LPWSTR dir, size_t cchDir) {
    if (!dir || cchDir == 0) return false;
    dir[0] = L'\0';

    DWORD needed = 0;
    const DWORD cbDir = (DWORD)(cchDir * sizeof(WCHAR));
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), cbDir, &needed)) {
        dir[0] = L'\0';
        return false;
    }
    if (FAILED(StringCchCatW(dir, cchDir, L"\\3\\"))) {
        dir[0] = L'\0';
        return false;
    }
    return true;
}
