#include "ui/SuppliesBrowser.h"

#include <strsafe.h>

#include "state/DriverIni.h"

namespace {

// The registered command is read into 100 characters; a longer one counts as not registered.
constexpr DWORD kCommandBytes = 200;
constexpr wchar_t kOrderUrlKey[] = L"ORDER_URL";

// The executable's path out of a registered command line: after leading blanks, either the quoted
// text or everything up to the first blank.
void ExtractCommandPath(const WCHAR *command, WCHAR (&path)[kBrowserPathChars]) {
    const WCHAR *p = command;
    while (*p == L' ') ++p;
    const WCHAR *end;
    if (*p == L'"') {
        ++p;
        end = p;
        while (*end && *end != L'"') ++end;
    } else {
        end = p;
        while (*end && *end != L' ') ++end;
    }
    const size_t length = (size_t)(end - p);
    // A path that does not fit is no usable path: leave the buffer empty rather than cut it.
    if (length >= kBrowserPathChars || FAILED(StringCchCopyNW(path, kBrowserPathChars, p, length))) path[0] = L'\0';
}

}  // namespace

void FindBrowser(LPCWSTR exeName, WCHAR (&path)[kBrowserPathChars]) {
    path[0] = L'\0';
    WCHAR keyPath[MAX_PATH];
    if (!exeName || FAILED(StringCchPrintfW(keyPath, ARRAYSIZE(keyPath), L"Applications\\%s\\shell\\Open\\command",
                                            exeName)))
        return;

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        // One character more than the value may hold, so that a value stored without its
        // terminator still ends in one.
        WCHAR command[kCommandBytes / sizeof(WCHAR) + 1] = {};
        DWORD size = kCommandBytes;
        if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<LPBYTE>(command), &size) ==
                ERROR_SUCCESS &&
            command[0] != L'\0')
            ExtractCommandPath(command, path);
        RegCloseKey(key);
    }
    if (path[0] == L'\0') return;

    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE) {
        path[0] = L'\0';
        return;
    }
    FindClose(search);
}

int IsBrowserAvailable() {
    WCHAR path[kBrowserPathChars];
    FindBrowser(kPreferredBrowser, path);
    if (path[0]) return 1;
    FindBrowser(kFallbackBrowser, path);
    return path[0] ? 1 : 0;
}

void OrderSupplies(LPCWSTR printerName) {
    WCHAR command[kBrowserPathChars];
    FindBrowser(kPreferredBrowser, command);
    if (!command[0]) FindBrowser(kFallbackBrowser, command);
    if (!command[0]) return;

    size_t length = 0;
    if (FAILED(StringCchCatW(command, ARRAYSIZE(command), L" ")) ||
        FAILED(StringCchLengthW(command, ARRAYSIZE(command), &length)) || length + 1 >= ARRAYSIZE(command))
        return;
    if (!GetDriverIniString(printerName, kOrderUrlKey, command + length, ARRAYSIZE(command) - length)) return;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS,
                       nullptr, nullptr, &startup, &process)) {
        // Not waited for; the handles are ours to give back.
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
