#include "state/DriverStateKeys.h"

#include <string.h>
#include <wchar.h>

#include "state/PrinterStateKey.h"

namespace {

constexpr DWORD kNameChars = MAX_PATH;

typedef WCHAR KeyName[kNameChars];

bool IsDriverStateKey(LPCWSTR keyName, LPCWSTR driverName) { return wcsstr(keyName, driverName) != nullptr; }

}  // namespace

BOOL DeleteDriverStateKeys(LPCWSTR driverName) {
    // Every name contains the empty string: without a driver name there is nothing of it to delete.
    if (!driverName || !driverName[0]) return TRUE;
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kStateRootPath, 0, KEY_ALL_ACCESS | kStateKeyView, &root) != ERROR_SUCCESS)
        return TRUE;

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
        if (RegDeleteKeyExW(root, doomed[i], kStateKeyView, 0) != ERROR_SUCCESS) RegDeleteTreeW(root, doomed[i]);
    }
    if (doomed) HeapFree(heap, 0, doomed);
    RegCloseKey(root);
    return TRUE;
}
