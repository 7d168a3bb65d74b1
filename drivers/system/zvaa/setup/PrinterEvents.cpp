#include "setup/PrinterEvents.h"

#include <string.h>
#include <strsafe.h>
#include <wchar.h>

#include "core/ModelProfile.h"
#include "setup/SpoolerOrdinals.h"
#include "state/DriverIni.h"
#include "state/PrinterInfo.h"
#include "state/PrinterStateKey.h"

namespace {

constexpr wchar_t kStateRoot[] = L"Software\\Zelvorn";
constexpr DWORD kNameChars = MAX_PATH;

typedef WCHAR KeyName[kNameChars];

bool IsDriverStateKey(LPCWSTR keyName, LPCWSTR driverName) { return wcsstr(keyName, driverName) != nullptr; }

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

BOOL DeleteDriverStateKeys(LPCWSTR driverName) {
    // Every name contains the empty string: without a driver name there is nothing of it to delete.
    if (!driverName || !driverName[0]) return TRUE;
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kStateRoot, 0, KEY_ALL_ACCESS, &root) != ERROR_SUCCESS) return TRUE;

    // The names are collected before anything is deleted, since deleting renumbers the enumeration.
    // One pass over the subkeys, into a list that grows as matches come: a driver may have thousands
    // of printers among thousands of other keys, and every step of an enumeration is a registry call.
    // Nothing is allocated while nothing matches.
    HANDLE heap = GetProcessHeap();
    KeyName *doomed = nullptr;
    DWORD collected = 0, capacity = 0;
    bool complete = true;
    KeyName name;
    for (DWORD index = 0;; ++index) {
        DWORD chars = kNameChars;
        if (RegEnumKeyExW(root, index, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (!IsDriverStateKey(name, driverName)) continue;
        if (collected == capacity) {
            const DWORD grown = capacity ? capacity * 2 : 16;
            void *block = doomed ? HeapReAlloc(heap, 0, doomed, grown * sizeof(KeyName))
                                 : HeapAlloc(heap, 0, grown * sizeof(KeyName));
            if (!block) {
                complete = false;  // without the whole list, nothing is deleted
                break;
            }
            doomed = static_cast<KeyName *>(block);
            capacity = grown;
        }
        memcpy(doomed[collected++], name, sizeof(KeyName));
    }

    // A port name with a backslash gives a key with subkeys; the whole of it is the state. The plain
    // deletion (one registry call) comes first: walking a tree takes several calls for every key.
    for (DWORD i = 0; complete && i < collected; ++i) {
        if (RegDeleteKeyW(root, doomed[i]) != ERROR_SUCCESS) RegDeleteTreeW(root, doomed[i]);
    }
    if (doomed) HeapFree(heap, 0, doomed);
    RegCloseKey(root);
    return TRUE;
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
