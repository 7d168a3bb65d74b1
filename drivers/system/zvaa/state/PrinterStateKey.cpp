#include "state/PrinterStateKey.h"

#include <winspool.h>
#include <strsafe.h>

#include "core/CartridgeRules.h"
#include "core/Owned.h"
#include "state/PrinterInfo.h"

namespace {

constexpr wchar_t kFallbackName[] = L"OFN1";
constexpr wchar_t kFriendlyNameValue[] = L"OriginalFriendlyName";
// The printer data is read into this many bytes; one character more keeps room for a terminator,
// which the stored value does not carry.
constexpr DWORD kFriendlyNameBytes = 520;

struct InkCounter {
    const wchar_t *name;
    CartridgeType type;
};
constexpr InkCounter kInkCounters[kInkLevelCount] = {
    {L"LevelK", kCartBlack},       {L"LevelK2", kCartBlackHigh},  {L"LevelC", kCartColour},
    {L"LevelC2", kCartColourHigh}, {L"LevelM", kCartColour},      {L"LevelM2", kCartColourHigh},
    {L"LevelY", kCartColour},      {L"LevelY2", kCartColourHigh}, {L"LevelPhotoK", kCartPhoto},
    {L"LevelPhotoC", kCartPhoto},  {L"LevelPhotoM", kCartPhoto},
};

// Whether a friendly name leaves the key path at the root: empty after its backslashes.
bool NamesTheRoot(LPCWSTR friendlyName) {
    const WCHAR *p = friendlyName;
    while (*p == L'\\') ++p;
    return *p == L'\0';
}

// "Software\Zelvorn\" + name, the name cut to what the path holds. Every reader and writer forms the
// path here, so a cut name always leads to the same key. False for a name that, as cut, would lead
// to the root, which holds keys only.
bool FormStateKeyPath(LPCWSTR friendlyName, LPWSTR path) {
    WCHAR name[kStateKeyNameChars + 1];
    const HRESULT cut = StringCchCopyNW(name, ARRAYSIZE(name), friendlyName, kStateKeyNameChars);
    if (FAILED(cut) && cut != STRSAFE_E_INSUFFICIENT_BUFFER) return false;
    if (NamesTheRoot(name)) return false;
    return SUCCEEDED(StringCchPrintfW(path, kStateKeyPathChars, L"%s\\%s", kStateRootPath, name));
}

// The rights on the keys the plug-in creates, the root and each printer's key, inherited by whatever
// is created below them: the system and administrators all; the local users read, set values and make
// printers' keys (the printer-settings dialogs and the ink-counting components run under a standard
// user's token), but neither delete keys nor change their rights or owner. Keys that exist keep theirs.
// Built in place, so that nothing is allocated for it.
class StateTreeRights {
public:
    StateTreeRights() {
        const struct {
            WELL_KNOWN_SID_TYPE who;
            ACCESS_MASK what;
        } grants[] = {{WinLocalSystemSid, KEY_ALL_ACCESS},
                      {WinBuiltinAdministratorsSid, KEY_ALL_ACCESS},
                      {WinBuiltinUsersSid, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY}};
        PACL list = reinterpret_cast<PACL>(m_acl);
        m_ok = InitializeAcl(list, sizeof m_acl, ACL_REVISION) != FALSE;
        for (const auto &grant : grants) {
            BYTE sid[SECURITY_MAX_SID_SIZE];
            DWORD size = sizeof sid;
            m_ok = m_ok && CreateWellKnownSid(grant.who, nullptr, sid, &size) &&
                   AddAccessAllowedAceEx(list, ACL_REVISION, CONTAINER_INHERIT_ACE, grant.what, sid);
        }
        m_ok = m_ok && InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) &&
               SetSecurityDescriptorDacl(&m_descriptor, TRUE, list, FALSE) &&
               SetSecurityDescriptorControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    }
    // Null when the rights could not be built: the key then gets what the registry gives it.
    PSECURITY_DESCRIPTOR get() { return m_ok ? &m_descriptor : nullptr; }

private:
    SECURITY_DESCRIPTOR m_descriptor = {};
    alignas(DWORD) BYTE m_acl[256] = {};
    bool m_ok = false;
};

// Creates (or opens) one key of the tree. A key this call created gets the tree's rights, given with
// the creation and set once more on the new key, since some registries (Wine's among them) take none
// at creation; an existing key is opened with `access` only and keeps its own.
LSTATUS CreateTreeKey(LPCWSTR path, REGSAM access, PSECURITY_DESCRIPTOR rights, HKEY *key) {
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, rights, FALSE};
    DWORD disposition = 0;
    const LSTATUS status =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, const_cast<LPWSTR>(L"SW?"), REG_OPTION_NON_VOLATILE,
                        access | kStateKeyView, rights ? &attributes : nullptr, key, &disposition);
    if (status == ERROR_SUCCESS && rights && disposition == REG_CREATED_NEW_KEY) {
        UniqueKey owner;
        if (RegOpenKeyExW(*key, nullptr, 0, WRITE_DAC, owner.put()) == ERROR_SUCCESS)
            RegSetKeySecurity(owner.get(), DACL_SECURITY_INFORMATION, rights);
    }
    return status;
}

// Creates the key of `path` with the tree's rights, the root first where it is missing (its rights
// reach every key created below it); opens it when it exists.
LSTATUS CreateStateTreeKey(LPCWSTR path, REGSAM access, HKEY *key) {
    StateTreeRights rights;
    UniqueKey root;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kStateRootPath, 0, KEY_READ | kStateKeyView, root.put()) ==
        ERROR_FILE_NOT_FOUND)
        CreateTreeKey(kStateRootPath, KEY_CREATE_SUB_KEY, rights.get(), root.put());
    return CreateTreeKey(path, access, rights.get(), key);
}

// Whether the key of a path exists; only a definite "not found" counts as missing.
bool KeyPathExists(LPCWSTR path) {
    UniqueKey key;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | kStateKeyView, key.put()) != ERROR_FILE_NOT_FOUND;
}

// A 4-byte value into *slot; the slot changes only when the value was read.
bool QueryValue(HKEY key, LPCWSTR name, DWORD *slot) {
    DWORD value = 0, size = sizeof value;
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size) != ERROR_SUCCESS)
        return false;
    *slot = value;
    return true;
}

// A stored cartridge type into *slot, its 4 bytes as they are; the slot changes only when it was read.
bool QueryCartridge(HKEY key, LPCWSTR name, CartridgeType *slot) {
    DWORD value = 0;
    if (!QueryValue(key, name, &value)) return false;
    *slot = static_cast<CartridgeType>(static_cast<LONG>(value));
    return true;
}

// A refused write leaves the registry's reason as the thread's last error, for the dialog to tell.
bool SetValue(HKEY key, LPCWSTR name, DWORD type, DWORD value) {
    const LSTATUS status = RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE *>(&value), sizeof value);
    if (status != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
}

// Writes the value only when the key has none of that name; one that is there, of whatever type or
// size, stays as it is.
bool SetMissingValue(HKEY key, LPCWSTR name, DWORD type, DWORD value) {
    if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND) return true;
    return SetValue(key, name, type, value);
}

bool AlignValueName(CartridgeCombo combo, int index, LPWSTR name, size_t cchName) {
    return SUCCEEDED(StringCchPrintfW(name, cchName, L"%s%d", AlignValueNameStem(combo), index));
}

// The pair that decides which alignment values belong to the printer. One that cannot be read
// counts as no cartridges at all, as the alignment dialog itself shows it.
DWORD CurrentAlignCount(LPCWSTR printerName, CartridgeCombo *combo) {
    CartridgeType left = kCartNone, right = kCartNone;
    if (!ReadCartridges(printerName, &left, &right)) left = right = kCartNone;
    DWORD count = GetAlignValueCount(left, right, combo);
    return count > (DWORD)kMaxAlignValues ? (DWORD)kMaxAlignValues : count;
}

}  // namespace

const wchar_t *InkLevelValueName(int index) {
    return index >= 0 && index < kInkLevelCount ? kInkCounters[index].name : nullptr;
}

CartridgeType InkLevelCartridgeType(int index) {
    return index >= 0 && index < kInkLevelCount ? kInkCounters[index].type : kCartNone;
}

bool BuildOriginalFriendlyName(LPCWSTR printerName, LPWSTR name, size_t cchName) {
    if (!name || cchName == 0) return false;
    const UniquePrinterRecord info(FetchPrinterInfo(printerName, nullptr));
    if (!info) return false;
    // Long driver and port names are cut to the buffer; the key path cuts further in the same way
    // for every caller.
    const HRESULT formatted = StringCchPrintfW(name, cchName, L"%s %s", info->pDriverName ? info->pDriverName : L"",
                                               info->pPortName ? info->pPortName : L"");
    return SUCCEEDED(formatted) || formatted == STRSAFE_E_INSUFFICIENT_BUFFER;
}

bool StateKeyExists(LPCWSTR friendlyName) {
    if (!friendlyName) return false;
    WCHAR path[kStateKeyPathChars];
    return FormStateKeyPath(friendlyName, path) && KeyPathExists(path);
}

bool GetStateKeyPath(LPCWSTR printerName, LPWSTR path) {
    if (!printerName || !path) return false;
    WCHAR name[kFriendlyNameBytes / sizeof(WCHAR) + 1] = {};
    DWORD type = 0, size = 0, status = ERROR_SUCCESS;
    {
        UniquePrinter printer;
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
        if (!OpenPrinterW(const_cast<LPWSTR>(printerName), printer.put(), &defaults)) return false;
        status = GetPrinterDataW(printer.get(), const_cast<LPWSTR>(kFriendlyNameValue), &type,
                                 reinterpret_cast<LPBYTE>(name), kFriendlyNameBytes, &size);
    }
    // The stored name has no terminator: its length is the byte count. An empty name, or one that is
    // nothing but backslashes once cut to the path's room, would make the root itself the printer's
    // key, so it counts as unreadable too.
    const DWORD length = size > kFriendlyNameBytes ? 0 : size / sizeof(WCHAR);
    name[length] = L'\0';
    if (status == ERROR_SUCCESS && FormStateKeyPath(name, path)) return true;
    return FormStateKeyPath(kFallbackName, path);
}

bool OpenStateKey(LPCWSTR printerName, HKEY *key) {
    if (!key) return false;
    WCHAR path[kStateKeyPathChars];
    if (!GetStateKeyPath(printerName, path)) return false;
    // Reading and setting values is all any caller does: asking for more (deletion, the key's rights)
    // would be refused to a standard user, to whom the tree grants just these.
    const REGSAM access = KEY_READ | KEY_SET_VALUE;
    HKEY opened = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, access | kStateKeyView, &opened);
    if (status != ERROR_SUCCESS) status = CreateStateTreeKey(path, access, &opened);
    if (status != ERROR_SUCCESS && RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | kStateKeyView, &opened) !=
                                       ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return false;
    }
    *key = opened;
    return true;
}

bool ReadCartridges(LPCWSTR printerName, CartridgeType *left, CartridgeType *right) {
    if (!left || !right) return false;
    UniqueKey key;
    if (!OpenStateKey(printerName, key.put())) return false;
    const bool readLeft = QueryCartridge(key.get(), L"CartLeft", left);
    const bool readRight = QueryCartridge(key.get(), L"CartRight", right);
    return readLeft && readRight;
}

bool WriteCartridges(LPCWSTR printerName, CartridgeType left, CartridgeType right) {
    UniqueKey key;
    if (!OpenStateKey(printerName, key.put())) return false;
    const bool wroteLeft = SetValue(key.get(), L"CartLeft", REG_BINARY, (DWORD)left);
    const bool wroteRight = SetValue(key.get(), L"CartRight", REG_BINARY, (DWORD)right);
    return wroteLeft && wroteRight;
}

bool WriteAlignNeed(LPCWSTR printerName, DWORD value) {
    UniqueKey key;
    if (!OpenStateKey(printerName, key.put())) return false;
    const bool wrote = SetValue(key.get(), L"AlignNeed", REG_BINARY, value);
    return wrote;
}

bool ReadInkLevels(LPCWSTR printerName, InkLevelSet *levels) {
    if (!levels) return false;
    UniqueKey key;
    if (!OpenStateKey(printerName, key.put())) return false;
    for (int i = 0; i < kInkLevelCount; ++i) QueryValue(key.get(), kInkCounters[i].name, &levels->counters[i]);
    return true;
}

bool WriteInkLevels(LPCWSTR printerName, const InkLevelSet *levels) {
    if (!levels) return false;
    UniqueKey key;
    if (!OpenStateKey(printerName, key.put())) return false;
    bool all = true;
    for (int i = 0; i < kInkLevelCount; ++i)
        all = SetValue(key.get(), kInkCounters[i].name, REG_DWORD, levels->counters[i]) && all;
    return all;
}

namespace {

// Opens the printer's key and hands `each` the key, name and index of every alignment value of the
// printer's pair; true when the key opened and every value was handled.
template <typename Each> bool ForEachAlignValue(LPCWSTR printerName, Each each) {
    UniqueKey key;
    if (!OpenStateKey(printerName, key.put())) return false;
    CartridgeCombo combo = kComboInvalid;
    const DWORD count = CurrentAlignCount(printerName, &combo);
    bool all = true;
    for (DWORD i = 0; i < count; ++i) {
        WCHAR name[32];
        all = AlignValueName(combo, (int)i, name, ARRAYSIZE(name)) && each(key.get(), name, i) && all;
    }
    return all;
}

}  // namespace

bool ReadAlignValues(LPCWSTR printerName, LONG values[kMaxAlignValues]) {
    if (!values) return false;
    return ForEachAlignValue(printerName, [values](HKEY key, LPCWSTR name, DWORD i) {
        return QueryValue(key, name, reinterpret_cast<DWORD *>(&values[i]));
    });
}

bool WriteAlignValues(LPCWSTR printerName, const LONG values[kMaxAlignValues]) {
    if (!values) return false;
    const bool all = ForEachAlignValue(printerName, [values](HKEY key, LPCWSTR name, DWORD i) {
        return SetValue(key, name, REG_BINARY, (DWORD)values[i]);
    });
    // AlignNeed is cleared only once every value of the combination is stored.
    return all ? WriteAlignNeed(printerName, 0) : false;
}

namespace {

// Hands `write` the name and default of every alignment value of every combination; true when each
// was written.
template <typename Write> bool ForEachDefaultAlignValue(Write write) {
    const ModelProfile &model = Model();
    bool all = true;
    for (int row = 0; row < kComboRows; ++row) {
        const CartridgeCombo combo = static_cast<CartridgeCombo>(row);
        const LONG count = (LONG)model.alignCounts[combo];
        for (LONG i = 0; i < count && i < kMaxAlignValues; ++i) {
            WCHAR name[32];
            all = AlignValueName(combo, (int)i, name, ARRAYSIZE(name)) &&
                  write(name, (DWORD)model.alignDefaults[combo][i]) && all;
        }
    }
    return all;
}

}  // namespace

bool WriteDefaultAlignValues(LPCWSTR printerName) {
    UniqueKey key;
    if (!OpenStateKey(printerName, key.put())) return false;
    return ForEachDefaultAlignValue(
        [&key](LPCWSTR name, DWORD value) { return SetValue(key.get(), name, REG_BINARY, value); });
}

bool RefillInkLevels(LPCWSTR printerName, CartridgeType type) {
    UniqueKey key;
    if (!OpenStateKey(printerName, key.put())) return false;
    // Only the new cartridge's counters are written: the others may be lowered by a printing
    // component at any moment, and a copy read earlier would set them back.
    bool all = true;
    if (IsKnownCartridgeType(type) && type != kCartNone) {
        for (int i = 0; i < kInkLevelCount; ++i)
            if (kInkCounters[i].type == type)
                all = SetValue(key.get(), kInkCounters[i].name, REG_DWORD, Model().inkCapacity[type]) && all;
    }
    return all;
}

bool InitPrinterState(LPCWSTR printerName) {
    {
        UniquePrinter printer;
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_ADMINISTER};
        if (!OpenPrinterW(const_cast<LPWSTR>(printerName), printer.put(), &defaults)) return false;
        // The name is the printer's for good once stored: the spooler sends the initialisation again
        // after an administrator changes the printer (another port) and on clients that render for a
        // shared printer, and a name built anew then would move the printer to another, empty key.
        DWORD type = 0, size = 0;
        if (GetPrinterDataW(printer.get(), const_cast<LPWSTR>(kFriendlyNameValue), &type, nullptr, 0, &size) ==
            ERROR_FILE_NOT_FOUND) {
            WCHAR friendlyName[MAX_PATH];
            if (!BuildOriginalFriendlyName(printerName, friendlyName, ARRAYSIZE(friendlyName))) return false;
            size_t length = 0;
            if (FAILED(StringCchLengthW(friendlyName, ARRAYSIZE(friendlyName), &length))) length = 0;
            // Stored without its terminator; readers take the byte count as the length.
            if (SetPrinterDataW(printer.get(), const_cast<LPWSTR>(kFriendlyNameValue), REG_SZ,
                                reinterpret_cast<LPBYTE>(friendlyName),
                                (DWORD)(length * sizeof(WCHAR))) != ERROR_SUCCESS)
                return false;
        }
    }

    // A key from an earlier installation on the same driver and port keeps every value it has; only
    // the values an interrupted installation left out are written. A key that cannot be opened at
    // all but exists is left alone as it is.
    UniqueKey key;
    if (!OpenStateKey(printerName, key.put())) {
        WCHAR path[kStateKeyPathChars];
        return GetStateKeyPath(printerName, path) && KeyPathExists(path);
    }
    const ModelProfile &model = Model();
    bool all = SetMissingValue(key.get(), L"CartLeft", REG_BINARY, (DWORD)model.defaultLeft);
    all = SetMissingValue(key.get(), L"CartRight", REG_BINARY, (DWORD)model.defaultRight) && all;
    all = ForEachDefaultAlignValue([&key](LPCWSTR name, DWORD value) {
              return SetMissingValue(key.get(), name, REG_BINARY, value);
          }) && all;
    for (int i = 0; i < kInkLevelCount; ++i)
        all = SetMissingValue(key.get(), kInkCounters[i].name, REG_DWORD, model.inkCapacity[kInkCounters[i].type]) &&
              all;
    all = SetMissingValue(key.get(), L"AlignNeed", REG_BINARY, 1) && all;
    return all;
}
