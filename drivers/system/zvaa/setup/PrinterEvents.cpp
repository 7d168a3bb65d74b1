#include "setup/PrinterEvents.h"

#include <strsafe.h>

#include "core/ModelProfile.h"
#include "core/Owned.h"
#include "state/DriverIni.h"
#include "state/DriverStateKeys.h"
#include "state/PrinterInfo.h"
#include "state/PrinterStateKey.h"

namespace {

typedef UINT(WINAPI *SystemDirectoryQuery)(LPWSTR buffer, UINT chars);

// Removes <system directory>\<prefix>SUI.DLL, the copy the setup and print-time components call; a
// copy in use is moved aside instead.
void RemoveLibraryCopy(SystemDirectoryQuery systemDirectory) {
    WCHAR system[MAX_PATH];
    const UINT length = systemDirectory(system, ARRAYSIZE(system));
    if (length == 0 || length >= ARRAYSIZE(system)) return;
    WCHAR library[MAX_PATH];
    if (FAILED(StringCchPrintfW(library, ARRAYSIZE(library), L"%s\\%sSUI.DLL", system, Model().prefix))) return;
    if (!DeleteFileW(library)) MoveFileToTemp(library);
}

// Makes the printer the default printer of the user whose token the spooler passed with the event
// (from Windows 7 on): the default is the user's own setting, and set from inside the spooler without
// the token it would change the spooler's. Without a token that can be taken on, as the caller.
void SetDefaultPrinterFor(HANDLE userToken, LPCWSTR printerName) {
    if (userToken && ImpersonateLoggedOnUser(userToken)) {
        SetDefaultPrinterW(printerName);
        RevertToSelf();
        return;
    }
    SetDefaultPrinterW(printerName);
}

}  // namespace

HRESULT OemPrinterEvent(PWSTR printerName, INT event, DWORD, LPARAM lParam) {
    if (event != PRINTER_EVENT_INITIALIZE) return S_OK;
    const UniquePrinterRecord info(FetchPrinterInfo(printerName, nullptr));
    if (!info) return S_OK;
    if (!InitPrinterState(info->pPrinterName)) return E_FAIL;
    if (GetConfigSwitch(info->pPrinterName, L"DefaultPrinter", 0) == 1)
        SetDefaultPrinterFor(reinterpret_cast<HANDLE>(lParam), info->pPrinterName);
    return S_OK;
}

HRESULT OemDriverEvent(DWORD event, DWORD level, LPBYTE driverInfo, LPARAM) {
    if (event != DRIVER_EVENT_DELETE) return S_OK;
    if (!driverInfo) return S_OK;
    // DRIVER_INFO_1 starts with the name; level 2 and later put the version number before it.
    const LPCWSTR driverName = level == 1 ? reinterpret_cast<DRIVER_INFO_1W *>(driverInfo)->pName
                                          : reinterpret_cast<DRIVER_INFO_2W *>(driverInfo)->pName;
    DeleteDriverStateKeys(driverName);

    RemoveLibraryCopy(GetSystemDirectoryW);
#if defined(_WIN64)
    // On 64-bit Windows the printer software's 32-bit components call the 32-bit copy in the 32-bit
    // system directory: it goes with the driver too.
    RemoveLibraryCopy(GetSystemWow64DirectoryW);
#endif
    return S_OK;
}

bool MoveFileToTemp(LPCWSTR path) {
    if (!path) return false;
    WCHAR tempDir[MAX_PATH];
    const DWORD length = GetTempPathW(ARRAYSIZE(tempDir), tempDir);
    if (length == 0 || length >= ARRAYSIZE(tempDir)) return false;
    WCHAR target[MAX_PATH];
    if (!GetTempFileNameW(tempDir, L"ZV", 0, target)) return false;
    if (!DeleteFileW(target)) return false;
    return MoveFileW(path, target) != FALSE;
}
