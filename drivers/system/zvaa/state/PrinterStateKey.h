// Each printer's persistent state: one registry key, HKLM "Software\Zelvorn\<OriginalFriendlyName>",
// with the installed cartridge pair, eleven ink level counters, the alignment values of each cartridge
// combination and the alignment-needed flag. Every operation opens what it needs and closes it again;
// all return true for success and false for failure and show nothing; a write that fails leaves the
// registry's reason as the thread's last error. The keys the plug-in creates let the local users read
// and set values and make printers' keys (the settings dialogs run under a standard user's token).
#pragma once

#include <windows.h>

#include "core/ModelProfile.h"

// The eleven counters, always handled as one set in this order.
enum InkLevelIndex : int {
    kInkLevelK = 0,
    kInkLevelK2,
    kInkLevelC,
    kInkLevelC2,
    kInkLevelM,
    kInkLevelM2,
    kInkLevelY,
    kInkLevelY2,
    kInkLevelPhotoK,
    kInkLevelPhotoC,
    kInkLevelPhotoM,
    kInkLevelCount
};

struct InkLevelSet {
    DWORD counters[kInkLevelCount];
};

// A counter whose level is not known: what a reader leaves in place of one it could not read.
constexpr DWORD kInkLevelUnknown = 0xFFFFFFFFu;

// Registry value name of a counter, and the cartridge type whose ink it counts.
const wchar_t *InkLevelValueName(int index);
CartridgeType InkLevelCartridgeType(int index);

// The root of every printer's state key. It lives in the 32-bit registry view on every Windows, so
// that the printer software's 32-bit components (setup, print-time ink counting) and a 64-bit plug-in
// share one tree; for a 32-bit build the flag changes nothing. Every open, create, enumeration and
// deletion under the root passes kStateKeyView.
constexpr wchar_t kStateRootPath[] = L"Software\\Zelvorn";
constexpr REGSAM kStateKeyView = KEY_WOW64_32KEY;

// Room of a key path, and of the name part after "Software\Zelvorn\" (a longer name is cut to it).
constexpr size_t kStateKeyPathChars = MAX_PATH;
constexpr size_t kStateKeyNameChars = kStateKeyPathChars - 1 - 17;

// "<driver name> <port name>" of the printer, cut to cchName. False when its record cannot be had.
bool BuildOriginalFriendlyName(LPCWSTR printerName, LPWSTR name, size_t cchName);
// Whether the state key of a friendly name exists; only a definite "not found" counts as missing.
bool StateKeyExists(LPCWSTR friendlyName);
// The key path of a printer (from its printer data; "OFN1" when that cannot be read or is empty after
// its backslashes); false when the printer cannot be opened. `path` holds kStateKeyPathChars characters.
bool GetStateKeyPath(LPCWSTR printerName, LPWSTR path);
// Opens (or creates, with the tree's rights) the printer's key to read and set values, else read-only.
// Caller closes.
bool OpenStateKey(LPCWSTR printerName, HKEY *key);

bool ReadCartridges(LPCWSTR printerName, CartridgeType *left, CartridgeType *right);
bool WriteCartridges(LPCWSTR printerName, CartridgeType left, CartridgeType right);
bool WriteAlignNeed(LPCWSTR printerName, DWORD value);
// Fills what can be read; a counter that cannot be read keeps the caller's value.
bool ReadInkLevels(LPCWSTR printerName, InkLevelSet *levels);
bool WriteInkLevels(LPCWSTR printerName, const InkLevelSet *levels);
// The values of the installed pair's combination (1 to 6 of them); a pair that cannot be read counts
// as no cartridges (the invalid combination, one value "AlignK_0"). Writing clears AlignNeed after
// every value was stored.
bool ReadAlignValues(LPCWSTR printerName, LONG values[kMaxAlignValues]);
bool WriteAlignValues(LPCWSTR printerName, const LONG values[kMaxAlignValues]);
bool WriteDefaultAlignValues(LPCWSTR printerName);
// Sets the counters of a newly inserted cartridge of `type` to full and writes no other counter;
// type 0 writes nothing.
bool RefillInkLevels(LPCWSTR printerName, CartridgeType type);
// At installation: stores the printer's friendly name as printer data unless the printer has one
// already (it never changes afterwards, whatever becomes of the driver and port), and gives the key of
// the name the printer has each of the default pair, default alignment values, full counters and
// AlignNeed 1 that it does not hold yet (a key from an earlier installation keeps every value it has).
// False when a write failed.
bool InitPrinterState(LPCWSTR printerName);
