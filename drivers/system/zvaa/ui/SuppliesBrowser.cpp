#include "ui/SuppliesBrowser.h"

#include <strsafe.h>

#include "core/Owned.h"
#include "state/DriverIni.h"

namespace {

// The registered command is read into 100 characters; a longer one counts as not registered.
constexpr DWORD kCommandBytes = 200;
constexpr wchar_t kOrderUrlKey[] = L"ORDER_URL";
// The command line that starts the browser: the path and the address, each quoted and with its
// trailing backslashes doubled at worst.
constexpr size_t kOrderCommandChars = 3 * kTextChars;

// The executable's path out of a registered command line: after leading blanks, either the quoted
// text or everything up to the first blank.
void ExtractCommandPath(const WCHAR *command, WCHAR (&path)[kTextChars]) {
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
    if (length >= kTextChars || FAILED(StringCchCopyNW(path, kTextChars, p, length))) path[0] = L'\0';
}

// A blank or a tab makes a command-line argument end unless the argument is quoted.
bool HasBlank(const WCHAR *text) {
    for (const WCHAR *p = text; *p; ++p)
        if (*p == L' ' || *p == L'\t') return true;
    return false;
}

// An address that could end its argument early or carry others: a double quote, or a control
// character (C0, DEL, C1).
bool IsUnsafeAddress(const WCHAR *address) {
    for (const WCHAR *p = address; *p; ++p) {
        if (*p == L'"' || *p < 0x20 || (*p >= 0x7F && *p <= 0x9F)) return true;
    }
    return false;
}

// Appends `text` as one command-line argument: as it is without blanks, else in double quotes, with
// the backslashes that end it doubled so that they do not escape the closing quote.
bool AppendArgument(LPWSTR command, size_t cchCommand, const WCHAR *text) {
    if (!HasBlank(text)) return SUCCEEDED(StringCchCatW(command, cchCommand, text));
    if (FAILED(StringCchCatW(command, cchCommand, L"\"")) || FAILED(StringCchCatW(command, cchCommand, text)))
        return false;
    size_t length = 0;
    if (FAILED(StringCchLengthW(text, kTextChars, &length))) return false;
    for (size_t i = length; i > 0 && text[i - 1] == L'\\'; --i)
        if (FAILED(StringCchCatW(command, cchCommand, L"\\"))) return false;
    return SUCCEEDED(StringCchCatW(command, cchCommand, L"\""));
}

// "<browser> <address>", each part one argument; FALSE for an address that could end its argument
// early or add others. A path and an address without blanks stand as they are, one blank apart.
bool BuildOrderCommandLine(LPCWSTR browserPath, LPCWSTR address, WCHAR (&command)[kOrderCommandChars]) {
    command[0] = L'\0';
    if (!browserPath || !address || IsUnsafeAddress(address)) return false;
    return AppendArgument(command, kOrderCommandChars, browserPath) &&
           SUCCEEDED(StringCchCatW(command, kOrderCommandChars, L" ")) &&
           AppendArgument(command, kOrderCommandChars, address);
}

}  // namespace

void FindBrowser(LPCWSTR exeName, WCHAR (&path)[kTextChars]) {
    path[0] = L'\0';
    WCHAR keyPath[MAX_PATH];
    if (!exeName || FAILED(StringCchPrintfW(keyPath, ARRAYSIZE(keyPath), L"Applications\\%s\\shell\\Open\\command",
                                            exeName)))
        return;

    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
        // One character more than the value may hold, so that a value stored without its
        // terminator still ends in one.
        WCHAR command[kCommandBytes / sizeof(WCHAR) + 1] = {};
        DWORD size = kCommandBytes;
        if (RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<LPBYTE>(command), &size) ==
                ERROR_SUCCESS &&
            command[0] != L'\0')
            ExtractCommandPath(command, path);
    }
    if (path[0] == L'\0') return;

    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW(path, &found));
    if (!search) path[0] = L'\0';
}

int IsBrowserAvailable() {
    WCHAR path[kTextChars];
    FindBrowser(kPreferredBrowser, path);
    if (path[0]) return 1;
    FindBrowser(kFallbackBrowser, path);
    return path[0] ? 1 : 0;
}

void OrderSupplies(LPCWSTR printerName) {
    WCHAR browser[kTextChars];
    FindBrowser(kPreferredBrowser, browser);
    if (!browser[0]) FindBrowser(kFallbackBrowser, browser);
    if (!browser[0]) return;

    // The address gets the room it always had: what is left of a path-sized line after the path
    // and one blank.
    size_t pathLength = 0;
    if (FAILED(StringCchLengthW(browser, ARRAYSIZE(browser), &pathLength)) || pathLength + 2 >= kTextChars)
        return;
    WCHAR address[kTextChars];
    if (!GetDriverIniString(printerName, kOrderUrlKey, address, kTextChars - pathLength - 1)) return;

    WCHAR command[kOrderCommandChars];
    if (!BuildOrderCommandLine(browser, address, command)) return;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process = {};
    // The found program is named as the application, so that no search for a program at one of the
    // path's blanks takes place.
    if (CreateProcessW(browser, command, nullptr, nullptr, FALSE, CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS,
                       nullptr, nullptr, &startup, &process)) {
        // Not waited for; the handles are ours to give back.
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
