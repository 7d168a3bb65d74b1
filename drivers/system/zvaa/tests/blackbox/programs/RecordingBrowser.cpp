// Stands in for a web browser in tests: writes the command line it was started with (UTF-16) to the
// file named by ZVAA_BROWSER_RECORD, then ends.
#include <windows.h>

int main() {
    WCHAR path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ZVAA_BROWSER_RECORD", path, ARRAYSIZE(path));
    if (length == 0 || length >= ARRAYSIZE(path)) return 1;
    const WCHAR *commandLine = GetCommandLineW();
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, commandLine, static_cast<DWORD>(lstrlenW(commandLine) * sizeof(WCHAR)), &written,
                              nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
