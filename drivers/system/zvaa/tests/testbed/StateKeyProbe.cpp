#include "testbed/StateKeyProbe.h"

#include <winspool.h>

namespace {

constexpr wchar_t kStateRoot[] = L"Software\\Zelvorn";
constexpr REGSAM kStateView = KEY_WOW64_32KEY;

HKEY OpenStateKey(const std::wstring &path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access | kStateView, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

}  // namespace

std::wstring StateKeyPath(const std::wstring &friendlyName) { return std::wstring(kStateRoot) + L"\\" + friendlyName; }

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
    return StateKeyPath(name);
}

bool StateKeyPresent(const std::wstring &path) {
    HKEY key = OpenStateKey(path, KEY_READ);
    if (!key) return false;
    RegCloseKey(key);
    return true;
}

std::vector<StateKeyValue> ReadStateKeyValues(const std::wstring &path) {
    std::vector<StateKeyValue> values;
    HKEY key = OpenStateKey(path, KEY_READ);
    if (!key) return values;
    for (DWORD i = 0;; ++i) {
        WCHAR name[256];
        BYTE data[2048];
        DWORD chars = ARRAYSIZE(name), type = 0, bytes = sizeof data;
        if (RegEnumValueW(key, i, name, &chars, nullptr, &type, data, &bytes) != ERROR_SUCCESS) break;
        values.push_back({name, type, std::string(reinterpret_cast<const char *>(data), bytes)});
    }
    RegCloseKey(key);
    return values;
}

bool ReadStateKeyValue(const std::wstring &path, const wchar_t *name, DWORD *type, std::string *bytes) {
    HKEY key = OpenStateKey(path, KEY_READ);
    if (!key) return false;
    DWORD size = 0, kind = 0;
    bool ok = RegQueryValueExW(key, name, nullptr, &kind, nullptr, &size) == ERROR_SUCCESS;
    std::string data(size, '\0');
    if (ok && size)
        ok = RegQueryValueExW(key, name, nullptr, &kind, reinterpret_cast<LPBYTE>(&data[0]), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!ok) return false;
    data.resize(size);
    if (type) *type = kind;
    if (bytes) *bytes = data;
    return true;
}

bool WriteStateKeyValue(const std::wstring &path, const wchar_t *name, DWORD type, const void *data, DWORD size,
                        StateKeyOpen how) {
    HKEY key = nullptr;
    if (how == StateKeyOpen::kCreate) {
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kStateView, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
    } else if (!(key = OpenStateKey(path, KEY_SET_VALUE))) {
        return false;
    }
    const bool ok = RegSetValueExW(key, name, 0, type, static_cast<const BYTE *>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool DeleteStateKeyValue(const std::wstring &path, const wchar_t *name) {
    HKEY key = OpenStateKey(path, KEY_ALL_ACCESS);
    if (!key) return false;
    const bool ok = RegDeleteValueW(key, name) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

void DeleteStateKey(const std::wstring &friendlyName) {
    // The tree is deleted relative to the root opened in the state's registry view.
    HKEY root = OpenStateKey(kStateRoot, KEY_ALL_ACCESS);
    if (!root) return;
    RegDeleteTreeW(root, friendlyName.c_str());
    RegCloseKey(root);
}
