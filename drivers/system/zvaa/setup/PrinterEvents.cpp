#include "setup/PrinterEvents.h"

#include <strsafe.h>

#include "core/ModelProfile.h"
#include "setup/SpoolerOrdinals.h"
#include "state/DriverIni.h"
#include "state/DriverStateKeys.h"
#include "state/PrinterInfo.h"
#include "state/PrinterStateKey.h"

namespace {

// <system directory>\<prefix>SUI.DLL
bool LibraryPathInSystemDir(LPWSTR path, size_t cchPath) {
    WCHAR system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, ARRAYSIZE(system));
    if (length == 0 || length >= ARRAYSIZE(system)) return false;
    return SUCCEEDED(StringCchPrintfW(path, cchPath, L"%s\\%sSUI.DLL", system, Model().prefix));
}

}  // namespace

HRESULT OemPrinterEvent(PWSTR printerName, INT event, DWORD, LPARAM) {
    if (event != PRINTER_EVENT_INITIALIZE) return S_OK;
    PRINTER_INFO_2W *info = FetchPrinterInfo(printerName, nullptr);
    if (!info) return S_OK;
    if (!InitPrinterState(info->pPrinterName)) {
        FreePrinterInfo(info);
        return E_FAIL;
    }
    if (GetConfigSwitch(info->pPrinterName, L"DefaultPrinter", 0) == 1) SpoolerSetDefaultPrinter(info->pPrinterName);
    FreePrinterInfo(info);
    return S_OK;
}

HRESULT OemDriverEvent(DWORD event, DWORD level, LPBYTE driverInfo, LPARAM) {
    if (event != DRIVER_EVENT_DELETE) return S_OK;
    if (!driverInfo) return S_OK;
    // DRIVER_INFO_1 starts with the name; level 2 and later put the version number before it.
    const LPCWSTR driverName = level == 1 ? reinterpret_cast<DRIVER_INFO_1W *>(driverInfo)->pName
                                          : reinterpret_cast<DRIVER_INFO_2W *>(driverInfo)->pName;
    DeleteDriverStateKeys(driverName);

    WCHAR library[MAX_PATH];
    if (LibraryPathInSystemDir(library, ARRAYSIZE(library)) && !DeleteFileW(library)) MoveFileToTemp(library);
    return S_OK;
}

BOOL MoveFileToTemp(LPCWSTR path) {
    if (!path) return FALSE;
    WCHAR tempDir[MAX_PATH];
    const DWORD length = GetTempPathW(ARRAYSIZE(tempDir), tempDir);
    if (length == 0 || length >= ARRAYSIZE(tempDir)) return FALSE;
    WCHAR target[MAX_PATH];
    if (!GetTempFileNameW(tempDir, L"ZV", 0, target)) return FALSE;
    if (!DeleteFileW(target)) return FALSE;
    return MoveFileW(path, target);
}
