#include "state/DriverIni.h"

#include <strsafe.h>
#include <wchar.h>

#include "core/ModelProfile.h"
#include "state/DriverFilesDir.h"
#include "state/PrinterInfo.h"

namespace {

constexpr wchar_t kNotFound[] = L"Not Found";
constexpr wchar_t kFilesSection[] = L"OEMFiles";
// Values are read whole into this much room before they are handed on, so that the caller's size
// cannot turn the missing-value marker into something that looks found.
constexpr DWORD kValueChars = 2048;

bool ReadValue(LPCWSTR section, LPCWSTR key, LPCWSTR iniPath, LPWSTR value) {
    GetPrivateProfileStringW(section, key, kNotFound, value, kValueChars, iniPath);
    return wcscmp(value, kNotFound) != 0;
}

bool ReadLocalisedValue(LPCWSTR key, LPCWSTR iniPath, LPWSTR value) {
    const LCID user = GetUserDefaultLCID(), system = GetSystemDefaultLCID();
    const DWORD sections[] = {user & 0xFFFF, user & 0x3FF, system & 0xFFFF, system & 0x3FF};
    for (DWORD language : sections) {
        WCHAR section[32];
        if (FAILED(StringCchPrintfW(section, ARRAYSIZE(section), L"Strings.%4.4X", language))) continue;
        if (ReadValue(section, key, iniPath, value)) return true;
    }
    return false;
}

}  // namespace

BOOL FindDriverIni(LPCWSTR printerName, LPWSTR path, size_t cchPath) {
    if (!path || cchPath == 0) return FALSE;
    WCHAR dir[MAX_PATH];
    if (!GetDriverFilesDir(dir, ARRAYSIZE(dir))) return FALSE;
    PRINTER_INFO_2W *info = FetchPrinterInfo(printerName, nullptr);
    if (!info) return FALSE;

    BOOL found = FALSE;
    WCHAR pattern[MAX_PATH];
    if (info->pDriverName && SUCCEEDED(StringCchPrintfW(pattern, ARRAYSIZE(pattern), L"%s*.ini", dir))) {
        WIN32_FIND_DATAW entry;
        HANDLE listing = FindFirstFileW(pattern, &entry);
        if (listing != INVALID_HANDLE_VALUE) {
            do {
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                WCHAR candidate[MAX_PATH];
                // A name too long for the path buffer cannot be opened by it: passed over.
                if (FAILED(StringCchPrintfW(candidate, ARRAYSIZE(candidate), L"%s%s", dir, entry.cFileName))) continue;
                WCHAR driver[MAX_PATH];
                GetPrivateProfileStringW(kFilesSection, L"OEMDriverName", L"", driver, ARRAYSIZE(driver), candidate);
                if (wcscmp(driver, info->pDriverName) == 0) {
                    found = SUCCEEDED(StringCchCopyW(path, cchPath, candidate));
                    break;
                }
            } while (FindNextFileW(listing, &entry));
            FindClose(listing);
        }
    }
    FreePrinterInfo(info);
    return found;
}

BOOL GetDriverIniString(LPCWSTR printerName, LPCWSTR key, LPWSTR out, size_t cchOut) {
    if (!out || cchOut == 0 || !key) return FALSE;
    WCHAR iniPath[MAX_PATH];
    if (!FindDriverIni(printerName, iniPath, ARRAYSIZE(iniPath))) return FALSE;

    WCHAR value[kValueChars];
    const bool found = ReadValue(kFilesSection, key, iniPath, value) || ReadLocalisedValue(key, iniPath, value);
    // A value longer than the caller's buffer arrives cut, like any profile read.
    const HRESULT copied = StringCchCopyW(out, cchOut, found ? value : kNotFound);
    if (FAILED(copied) && copied != STRSAFE_E_INSUFFICIENT_BUFFER) out[0] = L'\0';
    return found ? TRUE : FALSE;
}

BOOL GetConfigSwitch(LPCWSTR printerName, LPCWSTR key, BOOL defaultValue) {
    const BOOL fallback = defaultValue ? 1 : 0;
    if (!key) return fallback;
    WCHAR configPath[MAX_PATH];
    bool named = false;
    if (GetDriverIniString(printerName, L"PLC", configPath, ARRAYSIZE(configPath))) {
        HANDLE file = CreateFileW(configPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            named = true;
        }
    }
    if (!named) {
        WCHAR system[MAX_PATH];
        const UINT length = GetSystemDirectoryW(system, ARRAYSIZE(system));
        if (length == 0 || length >= ARRAYSIZE(system)) return fallback;
        if (FAILED(StringCchPrintfW(configPath, ARRAYSIZE(configPath), L"%s\\%sPLC.INI", system, Model().prefix)))
            return fallback;
    }

    WCHAR text[MAX_PATH];
    const DWORD length = GetPrivateProfileStringW(L"OEMConfig", key, fallback ? L"1" : L"0", text, ARRAYSIZE(text),
                                                  configPath);
    if (length == 0) return fallback;
    if (wcscmp(text, L"1") == 0) return 1;
    if (wcscmp(text, L"0") == 0) return 0;
    return fallback;
}
