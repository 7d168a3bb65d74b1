#include "state/DriverStateKeys.h"

#include <string.h>
#include <wchar.h>

#include <winspool.h>
#include <strsafe.h>

#include "core/Owned.h"
#include "state/PrinterStateKey.h"

namespace {

constexpr DWORD kNameChars = MAX_PATH;

typedef WCHAR KeyName[kNameChars];

// Whether "<driver> " begins the key name.
bool BeginsWithDriver(LPCWSTR keyName, LPCWSTR driverName, size_t driverLength) {
    return wcsncmp(keyName, driverName, driverLength) == 0 && keyName[driverLength] == L' ';
}

// How long the driver list is asked for before the deletion gives up, in milliseconds; between two
// tries the thread gives way for a moment, so that a change under way can end.
constexpr ULONGLONG kListingPatience = 2000;
// Room for the first try: a machine's list of drivers fits in it more often than not.
constexpr DWORD kFirstListingBytes = 4096;

// The drivers the spooler lists, as its level-1 records (names only); empty when it cannot list
// them. A listing fails now and then while other drivers are installed or deleted at the same moment:
// the list grew past the room asked for, or a driver went between the spooler's count and its read.
// Either way the list is asked for again, in one call with room to spare (every call is another
// chance for a change to come between), until it comes whole or the patience is spent.
UniqueHeapBlock<DRIVER_INFO_1W> ListInstalledDrivers(DWORD *count) {
    *count = 0;
    DWORD size = kFirstListingBytes;
    const ULONGLONG start = GetTickCount64();
    for (int attempt = 0;; ++attempt) {
        if (attempt > 0) {
            if (GetTickCount64() - start > kListingPatience) return {};
            Sleep(1);
        }
        UniqueHeapBlock<DRIVER_INFO_1W> drivers(static_cast<DRIVER_INFO_1W *>(HeapAlloc(GetProcessHeap(), 0, size)));
        if (!drivers) return {};
        DWORD needed = 0, returned = 0;
        if (EnumPrinterDriversW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(drivers.get()), size, &needed,
                                &returned)) {
            *count = returned;
            return drivers;
        }
        // Half as much again as the list needs now, so that drivers installed meanwhile still fit.
        if (GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed >= size)
            size = needed > MAXDWORD / 2 ? needed : needed + needed / 2 + 1;
    }
}

// A key of the deleted driver's, unless a longer installed driver name begins it in the same way:
// "Zelvorn ZV-30 Plus LPT1:" belongs to "Zelvorn ZV-30 Plus" while that driver is installed.
bool IsDriverStateKey(LPCWSTR keyName, LPCWSTR driverName, size_t driverLength, const DRIVER_INFO_1W *installed,
                      DWORD installedCount) {
    if (!BeginsWithDriver(keyName, driverName, driverLength)) return false;
    for (DWORD i = 0; i < installedCount; ++i) {
        const LPCWSTR other = installed[i].pName;
        size_t otherLength = 0;
        // A name longer than any key name cannot begin one.
        if (!other || FAILED(StringCchLengthW(other, kNameChars, &otherLength))) continue;
        if (otherLength > driverLength && BeginsWithDriver(keyName, other, otherLength)) return false;
    }
    return true;
}

}  // namespace

bool DeleteDriverStateKeys(LPCWSTR driverName) {
    // Every name contains the empty string: without a driver name there is nothing of it to delete.
    if (!driverName || !driverName[0]) return true;
    // A name longer than any key name begins none of them.
    size_t driverLength = 0;
    if (FAILED(StringCchLengthW(driverName, kNameChars, &driverLength))) return true;
    // Without the list of installed drivers there is no telling whose a key is: nothing goes.
    DWORD installedCount = 0;
    const UniqueHeapBlock<DRIVER_INFO_1W> installed = ListInstalledDrivers(&installedCount);
    if (!installed) return true;
    UniqueKey root;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kStateRootPath, 0, KEY_ALL_ACCESS | kStateKeyView, root.put()) !=
        ERROR_SUCCESS)
        return true;

    // The names are collected before anything is deleted, since deleting renumbers the enumeration.
    // One pass over the subkeys, into a list that grows as matches come: a driver may have thousands
    // of printers among thousands of other keys, and every step of an enumeration is a registry call.
    // Nothing is allocated while nothing matches.
    HANDLE heap = GetProcessHeap();
    UniqueHeapBlock<KeyName> doomed;
    DWORD collected = 0, capacity = 0;
    bool complete = true;
    KeyName name;
    for (DWORD index = 0;; ++index) {
        DWORD chars = kNameChars;
        if (RegEnumKeyExW(root.get(), index, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (!IsDriverStateKey(name, driverName, driverLength, installed.get(), installedCount)) continue;
        if (collected == capacity) {
            const DWORD grown = capacity ? capacity * 2 : 16;
            void *block = doomed ? HeapReAlloc(heap, 0, doomed.get(), grown * sizeof(KeyName))
                                 : HeapAlloc(heap, 0, grown * sizeof(KeyName));
            if (!block) {
                complete = false;  // without the whole list, nothing is deleted
                break;
            }
            // A moved block has freed the old one: the owner takes the new one without freeing.
            (void)doomed.release();
            doomed.reset(static_cast<KeyName *>(block));
            capacity = grown;
        }
        memcpy(doomed.get()[collected++], name, sizeof(KeyName));
    }

    // A port name with a backslash gives a key with subkeys; the whole of it is the state. The plain
    // deletion (one registry call) comes first: walking a tree takes several calls for every key.
    for (DWORD i = 0; complete && i < collected; ++i) {
        if (RegDeleteKeyExW(root.get(), doomed.get()[i], kStateKeyView, 0) != ERROR_SUCCESS)
            RegDeleteTreeW(root.get(), doomed.get()[i]);
    }
    return true;
}
