#include "PrinterStateView.h"

#include <winspool.h>
#include <strsafe.h>

namespace {

constexpr wchar_t kStateRoot[] = L"Software\\Zelvorn\\";

std::string Narrow(const std::wstring &text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string out(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring StateKeyPathOf(const std::wstring &printer) {
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr)) return std::wstring();
    BYTE data[520] = {};
    DWORD type = 0, size = 0;
    std::wstring name = L"OFN1";
    if (GetPrinterDataW(handle, const_cast<LPWSTR>(L"OriginalFriendlyName"), &type, data, sizeof data, &size) ==
            ERROR_SUCCESS &&
        size >= sizeof(WCHAR)) {
        // Stored without a terminator: the byte count is the length.
        name.assign(reinterpret_cast<const WCHAR *>(data), size / sizeof(WCHAR));
        while (!name.empty() && name.back() == L'\0') name.pop_back();
    }
    ClosePrinter(handle);
    return kStateRoot + name;
}

std::vector<std::pair<std::wstring, std::wstring>> ReadStateKey(const std::wstring &printer) {
    std::vector<std::pair<std::wstring, std::wstring>> values;
    const std::wstring path = StateKeyPathOf(printer);
    HKEY key = nullptr;
    if (path.empty() || RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        WCHAR name[256];
        DWORD nameChars = ARRAYSIZE(name), type = 0;
        BYTE data[64] = {};
        DWORD size = sizeof data;
        if (RegEnumValueW(key, index, name, &nameChars, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        std::wstring text;
        if (size == 4) {
            LONG value;
            memcpy(&value, data, sizeof value);
            text = std::to_wstring(value);
        } else {
            text = L"(" + std::to_wstring(size) + L" bytes)";
        }
        values.emplace_back(name, text);
    }
    RegCloseKey(key);
    return values;
}

bool SetStateCounter(const std::wstring &printer, const wchar_t *valueName, DWORD value) {
    const std::wstring path = StateKeyPathOf(printer);
    HKEY key = nullptr;
    if (path.empty() || RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExW(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                                   sizeof value) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

std::wstring WindowsPathOf(const std::wstring &path) {
    if (path.empty() || path[0] != L'/') return path;
    typedef WCHAR *(CDECL * DosNameFn)(const char *);
    auto toDos = reinterpret_cast<DosNameFn>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos) return L"Z:" + path;
    WCHAR *dos = toDos(Narrow(path).c_str());
    if (!dos) return L"Z:" + path;
    std::wstring out = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return out;
}

std::string ReadPortFile(const std::wstring &port) {
    std::string bytes;
    HANDLE file = CreateFileW(WindowsPathOf(port).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool ClearPortFile(const std::wstring &port) {
    HANDLE file = CreateFileW(WindowsPathOf(port).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}
