#include "state/DriverIni.h"

#include <strsafe.h>
#include <wchar.h>

#include "core/ModelProfile.h"
#include "core/Owned.h"
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

// Turns a file name into its path in the driver files directory; false when that does not fit.
bool PathInDriverFilesDir(LPWSTR name, size_t cchName) {
    WCHAR dir[MAX_PATH], path[MAX_PATH];
    if (!GetDriverFilesDir(dir, ARRAYSIZE(dir))) return false;
    if (FAILED(StringCchPrintfW(path, ARRAYSIZE(path), L"%s%s", dir, name))) return false;
    return SUCCEEDED(StringCchCopyW(name, cchName, path));
}

}  // namespace

bool FindDriverIni(LPCWSTR printerName, LPWSTR path, size_t cchPath) {
    if (!path || cchPath == 0) return false;
    WCHAR dir[MAX_PATH];
    if (!GetDriverFilesDir(dir, ARRAYSIZE(dir))) return false;
    const UniquePrinterRecord info(FetchPrinterInfo(printerName, nullptr));
    if (!info || !info->pDriverName) return false;

    WCHAR pattern[MAX_PATH];
    if (FAILED(StringCchPrintfW(pattern, ARRAYSIZE(pattern), L"%s*.ini", dir))) return false;
    WIN32_FIND_DATAW entry;
    const UniqueFind listing(FindFirstFileW(pattern, &entry));
    if (!listing) return false;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        WCHAR candidate[MAX_PATH];
        // A name too long for the path buffer cannot be opened by it: passed over.
        if (FAILED(StringCchPrintfW(candidate, ARRAYSIZE(candidate), L"%s%s", dir, entry.cFileName))) continue;
        WCHAR driver[MAX_PATH];
        GetPrivateProfileStringW(kFilesSection, L"OEMDriverName", L"", driver, ARRAYSIZE(driver), candidate);
        if (wcscmp(driver, info->pDriverName) == 0) return SUCCEEDED(StringCchCopyW(path, cchPath, candidate));
    } while (FindNextFileW(listing.get(), &entry));
    return false;
}

bool GetDriverIniString(LPCWSTR printerName, LPCWSTR key, LPWSTR out, size_t cchOut) {
    if (!out || cchOut == 0 || !key) return false;
    WCHAR iniPath[MAX_PATH];
    if (!FindDriverIni(printerName, iniPath, ARRAYSIZE(iniPath))) return false;

    WCHAR value[kValueChars];
    const bool found = ReadValue(kFilesSection, key, iniPath, value) || ReadLocalisedValue(key, iniPath, value);
    // A value longer than the caller's buffer arrives cut, like any profile read.
    const HRESULT copied = StringCchCopyW(out, cchOut, found ? value : kNotFound);
    if (FAILED(copied) && copied != STRSAFE_E_INSUFFICIENT_BUFFER) out[0] = L'\0';
    return found;
}

BOOL GetConfigSwitch(LPCWSTR printerName, LPCWSTR key, BOOL defaultValue) {
    const BOOL fallback = defaultValue ? 1 : 0;
    if (!key) return fallback;
    WCHAR configPath[MAX_PATH];
    bool named = false;
    if (GetDriverIniString(printerName, L"PLC", configPath, ARRAYSIZE(configPath))) {
        // A bare file name lies beside the driver INI: a driver package can only put its files into the
        // driver files directory, whose full path differs between machines and architectures.
        if (!wcspbrk(configPath, L"\\/:") && !PathInDriverFilesDir(configPath, ARRAYSIZE(configPath)))
            configPath[0] = L'\0';
        const UniqueFile file(
            CreateFileW(configPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        named = static_cast<bool>(file);
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
