// A printer's state key looked at and changed with the platform's own registry calls, in the 32-bit
// registry view where the plug-in keeps it on every Windows: what the plug-in left, seen by programs
// that do not link its code (black-box tests, the driver-UI host), and the values a test or the print-time
// components put there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// HKLM path of the state key for a friendly name ("<driver> <port>"): "Software\Zelvorn\" + name.
std::wstring StateKeyPath(const std::wstring &friendlyName);
// HKLM path of a printer's state key, from its "OriginalFriendlyName" printer data ("OFN1" when the
// printer has none, as the plug-in does); empty when the printer cannot be opened.
std::wstring StateKeyPathOf(const std::wstring &printer);

bool StateKeyPresent(const std::wstring &path);

struct StateKeyValue {
    std::wstring name;
    DWORD type = REG_NONE;
    std::string bytes;
};
// Every value of the key in the registry's order (values of up to 2 KB); empty when there is no key.
std::vector<StateKeyValue> ReadStateKeyValues(const std::wstring &path);
// One value: its registry type and its bytes. False when the key or the value is missing.
bool ReadStateKeyValue(const std::wstring &path, const wchar_t *name, DWORD *type, std::string *bytes);

enum class StateKeyOpen { kExisting, kCreate };
// Writes one value; with kExisting only into a key that is there.
bool WriteStateKeyValue(const std::wstring &path, const wchar_t *name, DWORD type, const void *data, DWORD size,
                        StateKeyOpen how = StateKeyOpen::kExisting);
bool DeleteStateKeyValue(const std::wstring &path, const wchar_t *name);
// Removes the key of a friendly name with everything below it.
void DeleteStateKey(const std::wstring &friendlyName);
