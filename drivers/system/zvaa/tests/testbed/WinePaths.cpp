#include "testbed/WinePaths.h"

#include <windows.h>

#include "testbed/Utf8.h"

namespace {

// Both results live on the process heap.
typedef char *(CDECL *UnixNameFn)(LPCWSTR);
typedef WCHAR *(CDECL *DosNameFn)(const char *);

FARPROC WineKernelFunction(const char *name) { return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name); }

std::wstring ZDrivePath(const std::wstring &unixPath) {
    std::wstring path = L"Z:" + unixPath;
    for (wchar_t &c : path)
        if (c == L'/') c = L'\\';
    return path;
}

}  // namespace

std::wstring UnixPathOf(const std::wstring &windowsPath) {
    auto fn = reinterpret_cast<UnixNameFn>(reinterpret_cast<void *>(WineKernelFunction("wine_get_unix_file_name")));
    if (!fn) return std::wstring();
    char *unixName = fn(windowsPath.c_str());
    if (!unixName) return std::wstring();
    std::wstring out = FromUtf8(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    return out;
}

std::wstring WindowsPathOf(const std::wstring &path) {
    if (path.empty() || path[0] != L'/') return path;
    auto fn = reinterpret_cast<DosNameFn>(reinterpret_cast<void *>(WineKernelFunction("wine_get_dos_file_name")));
    if (!fn) return ZDrivePath(path);
    WCHAR *dosName = fn(Utf8(path).c_str());
    if (!dosName) return ZDrivePath(path);
    std::wstring out = dosName;
    HeapFree(GetProcessHeap(), 0, dosName);
    return out;
}
