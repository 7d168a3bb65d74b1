// Stands in for a web browser in tests: writes the command line it was started with (UTF-16) to the
// file named by ZVAA_BROWSER_RECORD, and its own path to the same name with ".program" added, then
// ends. The second file tells which copy of it ran when a test plants several.
#include <windows.h>

namespace {

bool WriteText(const WCHAR *path, const WCHAR *text) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text, static_cast<DWORD>(lstrlenW(text) * sizeof(WCHAR)), &written, nullptr);
    CloseHandle(file);
    return ok != FALSE;
}

}  // namespace

int main() {
    WCHAR path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ZVAA_BROWSER_RECORD", path, ARRAYSIZE(path));
    if (length == 0 || length + 8 >= ARRAYSIZE(path)) return 1;
    WCHAR program[MAX_PATH];
    const DWORD programLength = GetModuleFileNameW(nullptr, program, ARRAYSIZE(program));
    if (programLength == 0 || programLength >= ARRAYSIZE(program)) return 1;
    WCHAR programRecord[MAX_PATH];
    lstrcpyW(programRecord, path);
    lstrcatW(programRecord, L".program");
    // The program's own record first: the test waits for the command line, written last.
    if (!WriteText(programRecord, program)) return 1;
    return WriteText(path, GetCommandLineW()) ? 0 : 1;
}
