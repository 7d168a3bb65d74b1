// The state key on the real registry: its name, every value's type and size after installation, the
// reads and writes of each group, and what happens when names are long or access is short.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "state/PrinterStateKey.h"
#include "support/HandleLedger.h"
#include "testbed/ImportPatch.h"
#include "testbed/PrinterEnvironment.h"

namespace {

struct Expected {
    const wchar_t *name;
    DWORD type;
    LONG value;
};

LONG AsLong(const std::string &bytes) {
    LONG value = 0;
    if (bytes.size() == sizeof value) memcpy(&value, bytes.data(), sizeof value);
    return value;
}

// Value, type and size of one state value; fails the test when it differs.
void ExpectValue(const std::wstring &friendly, const Expected &e) {
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(PrinterEnvironment::ReadStateValue(friendly, e.name, &type, &bytes)) << e.name;
    EXPECT_EQ(e.type, type) << e.name;
    EXPECT_EQ(4u, bytes.size()) << e.name;
    EXPECT_EQ(e.value, AsLong(bytes)) << e.name;
}

LONG StateValue(const std::wstring &friendly, const wchar_t *name, LONG missing = -1) {
    std::string bytes;
    return PrinterEnvironment::ReadStateValue(friendly, name, nullptr, &bytes) ? AsLong(bytes) : missing;
}

// The printer data as the spooler keeps it in the registry, byte for byte.
bool StoredFriendlyName(const std::wstring &printer, DWORD *type, std::string *bytes) {
    const std::wstring path =
        L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + printer + L"\\PrinterDriverData";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return false;
    BYTE data[1024];
    DWORD size = sizeof data;
    const bool ok = RegQueryValueExW(key, L"OriginalFriendlyName", nullptr, type, data, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (ok) bytes->assign(reinterpret_cast<char *>(data), size);
    return ok;
}

// The registry keeps a string value as written, or with one terminator added when the caller's buffer
// had a zero character right after the counted bytes (the platform's own repair, on Wine as on NT).
void ExpectStoredName(const std::wstring &printer, const std::wstring &expected) {
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(StoredFriendlyName(printer, &type, &bytes));
    EXPECT_EQ((DWORD)REG_SZ, type);
    if (bytes.size() == expected.size() * 2 + 2 && bytes[bytes.size() - 1] == 0 && bytes[bytes.size() - 2] == 0)
        bytes.resize(bytes.size() - 2);
    ASSERT_EQ(expected.size() * 2, bytes.size());
    EXPECT_EQ(0, memcmp(expected.data(), bytes.data(), bytes.size()));
}

// What the plug-in hands to SetPrinterDataW for the friendly name.
decltype(&SetPrinterDataW) realSetPrinterData;
DWORD writtenNameBytes;
DWORD WINAPI RecordSetPrinterData(HANDLE printer, LPWSTR name, DWORD type, LPBYTE data, DWORD size) {
    if (name && wcscmp(name, L"OriginalFriendlyName") == 0) writtenNameBytes = size;
    return realSetPrinterData(printer, name, type, data, size);
}

bool SetFriendlyNameData(const std::wstring &printer, const void *data, DWORD size) {
    HANDLE handle = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, &defaults)) return false;
    const DWORD status = SetPrinterDataW(handle, const_cast<LPWSTR>(L"OriginalFriendlyName"), REG_SZ,
                                         static_cast<LPBYTE>(const_cast<void *>(data)), size);
    ClosePrinter(handle);
    return status == ERROR_SUCCESS;
}

std::wstring KeyPathOf(const std::wstring &printer) {
    WCHAR path[kStateKeyPathChars] = {};
    return GetStateKeyPath(printer.c_str(), path) ? path : L"";
}

}  // namespace

TEST(InitPrinterState, GivesANewPrinterExactlyTheInstalledState) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring friendly = env.FriendlyNameOf(printer);

    ImportPatch record(HandleLedger::ProgramModule(), "winspool.drv", "SetPrinterDataW",
                       reinterpret_cast<const void *>(&RecordSetPrinterData));
    realSetPrinterData = record.original<decltype(&SetPrinterDataW)>();
    HandleLedger ledger(HandleLedger::ProgramModule());
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    EXPECT_TRUE(ledger.Balanced());

    EXPECT_EQ(friendly.size() * 2, writtenNameBytes) << "written without a terminator";
    ExpectStoredName(printer, friendly);

    const Expected values[] = {
        {L"CartLeft", REG_BINARY, 3},          {L"CartRight", REG_BINARY, 1},
        {L"AlignNeed", REG_BINARY, 1},         {L"LevelK", REG_DWORD, 610000000},
        {L"LevelK2", REG_DWORD, 1100000000},   {L"LevelC", REG_DWORD, 550000000},
        {L"LevelC2", REG_DWORD, 915000000},    {L"LevelM", REG_DWORD, 550000000},
        {L"LevelM2", REG_DWORD, 915000000},    {L"LevelY", REG_DWORD, 550000000},
        {L"LevelY2", REG_DWORD, 915000000},    {L"LevelPhotoK", REG_DWORD, 231000000},
        {L"LevelPhotoC", REG_DWORD, 231000000}, {L"LevelPhotoM", REG_DWORD, 231000000},
        {L"AlignCMYK_0", REG_BINARY, 17},      {L"AlignCMYK_1", REG_BINARY, 6},
        {L"AlignCMYK_2", REG_BINARY, 17},      {L"AlignCMYK_3", REG_BINARY, 17},
        {L"AlignCMYK_4", REG_BINARY, 17},      {L"AlignCMYK_5", REG_BINARY, 17},
        {L"AlignCMYKcm_0", REG_BINARY, 17},    {L"AlignCMYKcm_1", REG_BINARY, 6},
        {L"AlignCMYKcm_2", REG_BINARY, 17},    {L"AlignCMYKcm_3", REG_BINARY, 17},
    };
    for (const Expected &e : values) ExpectValue(friendly, e);
    EXPECT_EQ(ARRAYSIZE(values), PrinterEnvironment::StateValueNames(friendly).size()) << "no other values";
}

TEST(InitPrinterState, ReinstallingOnTheSameDriverAndPortKeepsTheState) {
    PrinterEnvironment env;
    const std::wstring first = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(first.c_str()));
    ASSERT_TRUE(WriteCartridges(first.c_str(), kCartColourHigh, kCartPhoto));
    const LONG aligned[kMaxAlignValues] = {30, 15, 0, 0, 0, 0};
    ASSERT_TRUE(WriteAlignValues(first.c_str(), aligned));

    // A second printer on the same driver and port: one key, which installation leaves alone.
    const std::wstring second = env.AddTestPrinter(L"", L"", env.PortOf(first));
    ASSERT_TRUE(InitPrinterState(second.c_str()));
    EXPECT_EQ(KeyPathOf(first), KeyPathOf(second));
    CartridgeType left = kCartNone, right = kCartNone;
    ASSERT_TRUE(ReadCartridges(second.c_str(), &left, &right));
    EXPECT_EQ(kCartColourHigh, left);
    EXPECT_EQ(kCartPhoto, right);
    EXPECT_EQ(0, StateValue(env.FriendlyNameOf(first), L"AlignNeed"));
    EXPECT_EQ(30, StateValue(env.FriendlyNameOf(first), L"AlignCMYKcm_0"));
}

TEST(GetStateKeyPath, UnreadableFriendlyNamesShareTheOfn1Key) {
    PrinterEnvironment env;
    env.LockShared();
    const std::wstring bare = env.AddTestPrinter();
    EXPECT_EQ(L"Software\\Zelvorn\\OFN1", KeyPathOf(bare));
    ASSERT_TRUE(SetFriendlyNameData(bare, L"", 0));  // empty: would name the root itself
    EXPECT_EQ(L"Software\\Zelvorn\\OFN1", KeyPathOf(bare));
    // Nothing but backslashes leads to the root as well.
    for (const std::wstring slashes : {L"\\", L"\\\\\\"}) {
        ASSERT_TRUE(SetFriendlyNameData(bare, slashes.data(), (DWORD)(slashes.size() * 2)));
        EXPECT_EQ(L"Software\\Zelvorn\\OFN1", KeyPathOf(bare));
    }
    EXPECT_EQ(L"", KeyPathOf(L"Skrivare som inte finns"));

    const std::wstring other = env.AddTestPrinter();
    ASSERT_TRUE(WriteCartridges(bare.c_str(), kCartColour, kCartPhoto));
    CartridgeType left = kCartNone, right = kCartNone;
    ASSERT_TRUE(ReadCartridges(other.c_str(), &left, &right));
    EXPECT_EQ(kCartPhoto, right);

    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Zelvorn", 0, KEY_READ | KEY_WOW64_32KEY, &root));
    DWORD values = 99;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(root, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                              nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(root);
    EXPECT_EQ(0u, values) << "the root holds keys only";
}

TEST(GetStateKeyPath, LongNamesAreCutTheSameWayByEveryReaderAndWriter) {
    PrinterEnvironment env;
    env.LockShared();
    const std::wstring printer = env.AddTestPrinter();

    // 259 characters, no terminator: the longest name the read buffer holds whole.
    std::wstring name = L"ZV Testdrivrutin " + env.Tag() + L" ";
    while (name.size() < 259) name += L'x';
    ASSERT_TRUE(SetFriendlyNameData(printer, name.data(), (DWORD)(name.size() * 2)));
    const std::wstring path = KeyPathOf(printer);
    EXPECT_EQ(259u, path.size());
    EXPECT_EQ(L"Software\\Zelvorn\\" + name.substr(0, kStateKeyNameChars), path);
    EXPECT_TRUE(WriteAlignNeed(printer.c_str(), 1));
    EXPECT_TRUE(PrinterEnvironment::StateKeyPresent(name.substr(0, kStateKeyNameChars)));
    EXPECT_TRUE(StateKeyExists(name.c_str()));  // the full name finds the cut key

    // 260 characters fill the 520-byte buffer with nothing left for a terminator (a non-zero
    // character after them keeps the registry from adding one).
    name += L"yz";
    ASSERT_TRUE(SetFriendlyNameData(printer, name.data(), (DWORD)((name.size() - 1) * 2)));
    name.pop_back();
    const std::wstring full = KeyPathOf(printer);
    EXPECT_LE(full.size(), 259u);
    EXPECT_TRUE(full == L"Software\\Zelvorn\\OFN1" || full == L"Software\\Zelvorn\\" + name.substr(0, kStateKeyNameChars))
        << "unexpected key path";
}

TEST(InitPrinterState, LongDriverAndPortNamesInstallUnderACutName) {
    PrinterEnvironment env;
    std::wstring driver = L"ZV Testdrivrutin " + env.Tag() + L" ";
    while (driver.size() < 200) driver += L'd';
    std::wstring port = env.NewPortPath();
    port.insert(port.rfind(L'/') + 1, std::wstring(150, L'p'));
    const std::wstring printer = env.AddTestPrinter(L"", driver, port);
    ASSERT_FALSE(printer.empty());

    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    const std::wstring friendly = (driver + L" " + port).substr(0, MAX_PATH - 1);
    ExpectStoredName(printer, friendly);
    EXPECT_EQ(3, StateValue(friendly.substr(0, kStateKeyNameChars), L"CartLeft"));
    CartridgeType left = kCartNone, right = kCartNone;
    EXPECT_TRUE(ReadCartridges(printer.c_str(), &left, &right));
}

TEST(ReadCartridges, APrinterWithoutStateGetsAnEmptyKeyAndFails) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring friendly = env.FriendlyNameOf(printer);
    std::wstring data = friendly;
    ASSERT_TRUE(SetFriendlyNameData(printer, data.data(), (DWORD)(data.size() * 2)));

    HandleLedger ledger(HandleLedger::ProgramModule());
    CartridgeType left = CartridgeType(77), right = CartridgeType(78);
    EXPECT_FALSE(ReadCartridges(printer.c_str(), &left, &right));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(77, left);
    EXPECT_EQ(78, right);
    EXPECT_TRUE(PrinterEnvironment::StateKeyPresent(friendly));
    EXPECT_TRUE(PrinterEnvironment::StateValueNames(friendly).empty());
}

TEST(AlignValues, EachCombinationUsesItsOwnNamesAndWritingClearsAlignNeed) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    const std::wstring friendly = env.FriendlyNameOf(printer);

    // Black only stores nothing at installation: reading fails until the first write.
    ASSERT_TRUE(WriteCartridges(printer.c_str(), kCartNone, kCartBlackHigh));
    LONG values[kMaxAlignValues] = {-5, -5, -5, -5, -5, -5};
    EXPECT_FALSE(ReadAlignValues(printer.c_str(), values));
    const LONG black[kMaxAlignValues] = {12, 99, 99, 99, 99, 99};
    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_TRUE(WriteAlignValues(printer.c_str(), black));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(12, StateValue(friendly, L"AlignK_0"));
    EXPECT_EQ(-1, StateValue(friendly, L"AlignK_1"));
    EXPECT_EQ(0, StateValue(friendly, L"AlignNeed"));
    EXPECT_TRUE(ReadAlignValues(printer.c_str(), values));
    EXPECT_EQ(12, values[0]);
    EXPECT_EQ(-5, values[1]);

    ASSERT_TRUE(WriteCartridges(printer.c_str(), kCartColourHigh, kCartNone));
    const LONG colour[kMaxAlignValues] = {7};
    EXPECT_TRUE(WriteAlignValues(printer.c_str(), colour));
    EXPECT_EQ(7, StateValue(friendly, L"AlignCMY_0"));

    ASSERT_TRUE(WriteCartridges(printer.c_str(), kCartColour, kCartBlack));
    EXPECT_TRUE(ReadAlignValues(printer.c_str(), values));
    const LONG defaults[kMaxAlignValues] = {17, 6, 17, 17, 17, 17};
    EXPECT_EQ(0, memcmp(defaults, values, sizeof values));

    ASSERT_TRUE(WriteCartridges(printer.c_str(), kCartColour, kCartPhoto));
    LONG photo[kMaxAlignValues] = {-8, -8, -8, -8, -8, -8};
    EXPECT_TRUE(ReadAlignValues(printer.c_str(), photo));
    EXPECT_EQ(6, photo[1]);
    EXPECT_EQ(-8, photo[4]) << "colour and photo have four values";
}

TEST(AlignValues, AnUnreadablePairCountsAsNoCartridges) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    const std::wstring friendly = env.FriendlyNameOf(printer);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(friendly).c_str(), 0,
                                           KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key));
    RegDeleteValueW(key, L"CartRight");
    RegCloseKey(key);
    const LONG values[kMaxAlignValues] = {4, 4, 4, 4, 4, 4};
    EXPECT_TRUE(WriteAlignValues(printer.c_str(), values));
    EXPECT_EQ(4, StateValue(friendly, L"AlignK_0"));
    EXPECT_EQ(6, StateValue(friendly, L"AlignCMYK_1")) << "other combinations untouched";
}

TEST(RefillInkLevels, FillsExactlyTheNewCartridgesCounters) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    const std::wstring friendly = env.FriendlyNameOf(printer);
    InkLevelSet low;
    for (DWORD &c : low.counters) c = 5;
    ASSERT_TRUE(WriteInkLevels(printer.c_str(), &low));

    const struct {
        CartridgeType type;
        std::vector<int> full;
    } cases[] = {
        {kCartNone, {}},
        {kCartBlack, {kInkLevelK}},
        {kCartPhoto, {kInkLevelPhotoK, kInkLevelPhotoC, kInkLevelPhotoM}},
        {kCartColour, {kInkLevelC, kInkLevelM, kInkLevelY}},
        {kCartBlackHigh, {kInkLevelK2}},
        {kCartColourHigh, {kInkLevelC2, kInkLevelM2, kInkLevelY2}},
        {CartridgeType(9), {}},
    };
    const DWORD capacity[] = {0, 610000000, 231000000, 550000000, 1100000000, 915000000};
    for (const auto &c : cases) {
        ASSERT_TRUE(WriteInkLevels(printer.c_str(), &low));
        HandleLedger ledger(HandleLedger::ProgramModule());
        EXPECT_TRUE(RefillInkLevels(printer.c_str(), c.type)) << c.type;
        EXPECT_TRUE(ledger.Balanced());
        InkLevelSet read;
        for (DWORD &v : read.counters) v = 0;
        ASSERT_TRUE(ReadInkLevels(printer.c_str(), &read));
        for (int i = 0; i < kInkLevelCount; ++i) {
            const bool refilled = std::find(c.full.begin(), c.full.end(), i) != c.full.end();
            EXPECT_EQ(refilled ? capacity[c.type] : 5u, read.counters[i]) << "type " << c.type << " counter " << i;
        }
    }
}

TEST(RefillInkLevels, ACounterThatCannotBeReadIsLeftAsItIs) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    const std::wstring friendly = env.FriendlyNameOf(printer);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(friendly).c_str(), 0,
                                           KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key));
    RegDeleteValueW(key, L"LevelY");
    RegDeleteValueW(key, L"LevelK");
    RegCloseKey(key);
    EXPECT_TRUE(RefillInkLevels(printer.c_str(), kCartBlack));
    EXPECT_EQ(610000000, StateValue(friendly, L"LevelK"));
    EXPECT_EQ(-1, StateValue(friendly, L"LevelY", -1)) << "only the refilled cartridge's counters are written";
    EXPECT_EQ(550000000, StateValue(friendly, L"LevelC"));
}

namespace {
// A print-time component lowers two counters while a refill is under way, just before its first write.
decltype(&RegSetValueExW) realSetDuringRefill;
std::vector<std::wstring> refillWrites;
constexpr DWORD kLoweredLevel = 4321;
LSTATUS WINAPI SetWhileCountersAreLowered(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE *data,
                                          DWORD size) {
    if (refillWrites.empty()) {
        for (const wchar_t *counter : {L"LevelK", L"LevelPhotoM"})
            realSetDuringRefill(key, counter, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&kLoweredLevel),
                                sizeof kLoweredLevel);
    }
    refillWrites.push_back(name ? name : L"");
    return realSetDuringRefill(key, name, reserved, type, data, size);
}
}  // namespace

TEST(RefillInkLevels, WritesOnlyTheRefilledCountersAndKeepsOthersLoweredMeanwhile) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    const std::wstring friendly = env.FriendlyNameOf(printer);
    {
        ImportPatch set(HandleLedger::ProgramModule(), "advapi32.dll", "RegSetValueExW",
                        reinterpret_cast<const void *>(&SetWhileCountersAreLowered));
        realSetDuringRefill = set.original<decltype(&RegSetValueExW)>();
        refillWrites.clear();
        EXPECT_TRUE(RefillInkLevels(printer.c_str(), kCartColour));
    }
    EXPECT_EQ(std::vector<std::wstring>({L"LevelC", L"LevelM", L"LevelY"}), refillWrites);
    EXPECT_EQ((LONG)kLoweredLevel, StateValue(friendly, L"LevelK"));
    EXPECT_EQ((LONG)kLoweredLevel, StateValue(friendly, L"LevelPhotoM"));
    EXPECT_EQ(550000000, StateValue(friendly, L"LevelM"));
}

namespace {
LSTATUS WINAPI OpenDenied(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY) { return ERROR_ACCESS_DENIED; }
// A caller without the right to write: full access and creation are refused, reading is allowed.
decltype(&RegOpenKeyExW) realOpen;
LSTATUS WINAPI OpenReadOnly(HKEY root, LPCWSTR path, DWORD options, REGSAM sam, PHKEY out) {
    if ((sam & ~KEY_WOW64_RES) != KEY_READ) return ERROR_ACCESS_DENIED;
    return realOpen(root, path, options, sam, out);
}
LSTATUS WINAPI CreateDenied(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, const LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD) {
    return ERROR_ACCESS_DENIED;
}
decltype(&RegSetValueExW) realSet;
int setCalls;
LSTATUS WINAPI SetFailsOnce(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE *data, DWORD size) {
    if (++setCalls == 1) return ERROR_ACCESS_DENIED;
    return realSet(key, name, reserved, type, data, size);
}
// The access the key's DACL allows a well-known group (0 when no ACE names it).
ACCESS_MASK AllowedTo(WELL_KNOWN_SID_TYPE group, PACL dacl) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    if (!CreateWellKnownSid(group, nullptr, sid, &size)) return 0;
    ACCESS_MASK allowed = 0;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE *ace = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void **>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(&ace->SidStart, sid))
            allowed |= ace->Mask;
    }
    return allowed;
}

// A standard user on the tree: asking for anything beyond reading, setting values and making keys
// (deleting, changing rights or owner) is refused.
decltype(&RegCreateKeyExW) realCreate;
constexpr REGSAM kWithheld = DELETE | WRITE_DAC | WRITE_OWNER;
LSTATUS WINAPI OpenAsUser(HKEY root, LPCWSTR path, DWORD options, REGSAM sam, PHKEY out) {
    return (sam & kWithheld) ? ERROR_ACCESS_DENIED : realOpen(root, path, options, sam, out);
}
LSTATUS WINAPI CreateAsUser(HKEY root, LPCWSTR path, DWORD reserved, LPWSTR cls, DWORD options, REGSAM sam,
                            const LPSECURITY_ATTRIBUTES security, PHKEY out, LPDWORD disposition) {
    return (sam & kWithheld) ? ERROR_ACCESS_DENIED
                             : realCreate(root, path, reserved, cls, options, sam, security, out, disposition);
}
}  // namespace

TEST(PrinterStateKey, TheKeyLetsLocalUsersReadAndSetValuesAndNothingMore) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                           PrinterEnvironment::StateKeyPath(env.FriendlyNameOf(printer)).c_str(), 0,
                                           READ_CONTROL | KEY_WOW64_32KEY, &key));
    std::vector<BYTE> sd(4096);
    DWORD size = static_cast<DWORD>(sd.size());
    ASSERT_EQ(ERROR_SUCCESS, RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, sd.data(), &size));
    RegCloseKey(key);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(sd.data(), &present, &dacl, &defaulted) && present);
    EXPECT_EQ(static_cast<ACCESS_MASK>(KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY),
              AllowedTo(WinBuiltinUsersSid, dacl));
    EXPECT_EQ(static_cast<ACCESS_MASK>(KEY_ALL_ACCESS), AllowedTo(WinBuiltinAdministratorsSid, dacl));
    EXPECT_EQ(static_cast<ACCESS_MASK>(KEY_ALL_ACCESS), AllowedTo(WinLocalSystemSid, dacl));

    // What the tree grants is all the plug-in asks for: a standard user reads and writes the state.
    ImportPatch open(HandleLedger::ProgramModule(), "advapi32.dll", "RegOpenKeyExW",
                     reinterpret_cast<const void *>(&OpenAsUser));
    realOpen = open.original<decltype(&RegOpenKeyExW)>();
    ImportPatch create(HandleLedger::ProgramModule(), "advapi32.dll", "RegCreateKeyExW",
                       reinterpret_cast<const void *>(&CreateAsUser));
    realCreate = create.original<decltype(&RegCreateKeyExW)>();
    EXPECT_TRUE(WriteCartridges(printer.c_str(), kCartColourHigh, kCartPhoto));
    CartridgeType left = kCartNone, right = kCartNone;
    EXPECT_TRUE(ReadCartridges(printer.c_str(), &left, &right));
    EXPECT_EQ(kCartPhoto, right);
}

TEST(PrinterStateKey, AReadOnlyCallerReadsEverythingAndWritesNothing) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    const std::wstring friendly = env.FriendlyNameOf(printer);

    ImportPatch open(HandleLedger::ProgramModule(), "advapi32.dll", "RegOpenKeyExW",
                     reinterpret_cast<const void *>(&OpenReadOnly));
    realOpen = open.original<decltype(&RegOpenKeyExW)>();
    ImportPatch create(HandleLedger::ProgramModule(), "advapi32.dll", "RegCreateKeyExW",
                       reinterpret_cast<const void *>(&CreateDenied));
    HandleLedger ledger(HandleLedger::ProgramModule());

    CartridgeType left = kCartNone, right = kCartNone;
    EXPECT_TRUE(ReadCartridges(printer.c_str(), &left, &right));
    EXPECT_EQ(kCartColour, left);
    InkLevelSet levels = {};
    EXPECT_TRUE(ReadInkLevels(printer.c_str(), &levels));
    EXPECT_EQ(1100000000u, levels.counters[kInkLevelK2]);
    LONG values[kMaxAlignValues] = {};
    EXPECT_TRUE(ReadAlignValues(printer.c_str(), values));
    EXPECT_EQ(6, values[1]);
    EXPECT_TRUE(ledger.Balanced());

    EXPECT_FALSE(WriteCartridges(printer.c_str(), kCartColour, kCartPhoto));
    EXPECT_FALSE(WriteAlignNeed(printer.c_str(), 0));
    EXPECT_FALSE(WriteInkLevels(printer.c_str(), &levels));
    EXPECT_FALSE(WriteAlignValues(printer.c_str(), values));
    EXPECT_FALSE(RefillInkLevels(printer.c_str(), kCartBlack));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(1, StateValue(friendly, L"AlignNeed"));
}

TEST(PrinterStateKey, NoKeyAtAllFailsEveryOperationWithoutLeaks) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ImportPatch open(HandleLedger::ProgramModule(), "advapi32.dll", "RegOpenKeyExW",
                     reinterpret_cast<const void *>(&OpenDenied));
    ImportPatch create(HandleLedger::ProgramModule(), "advapi32.dll", "RegCreateKeyExW",
                       reinterpret_cast<const void *>(&CreateDenied));
    HandleLedger ledger(HandleLedger::ProgramModule());
    CartridgeType left = CartridgeType(5), right = CartridgeType(5);
    EXPECT_FALSE(ReadCartridges(printer.c_str(), &left, &right));
    EXPECT_EQ(5, left);
    InkLevelSet levels = {};
    EXPECT_FALSE(ReadInkLevels(printer.c_str(), &levels));
    EXPECT_FALSE(RefillInkLevels(printer.c_str(), kCartColour));
    LONG values[kMaxAlignValues] = {};
    EXPECT_FALSE(ReadAlignValues(printer.c_str(), values));
    EXPECT_FALSE(WriteAlignValues(printer.c_str(), values));
    // A key that cannot even be looked at is taken to exist: installation keeps its hands off it.
    EXPECT_TRUE(InitPrinterState(printer.c_str()));
    EXPECT_FALSE(ReadCartridges(L"Skrivare som inte finns", &left, &right));
    EXPECT_TRUE(ledger.Balanced());
}

TEST(PrinterStateKey, AFailedWriteFailsTheGroupButTheOtherValuesAreWritten) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    const std::wstring friendly = env.FriendlyNameOf(printer);

    ImportPatch set(HandleLedger::ProgramModule(), "advapi32.dll", "RegSetValueExW",
                    reinterpret_cast<const void *>(&SetFailsOnce));
    realSet = set.original<decltype(&RegSetValueExW)>();
    setCalls = 0;
    EXPECT_FALSE(WriteCartridges(printer.c_str(), kCartColourHigh, kCartPhoto));
    EXPECT_EQ(3, StateValue(friendly, L"CartLeft"));
    EXPECT_EQ(2, StateValue(friendly, L"CartRight"));

    ASSERT_TRUE(WriteCartridges(printer.c_str(), kCartColour, kCartBlack));
    ASSERT_TRUE(WriteAlignNeed(printer.c_str(), 1));
    setCalls = 0;
    const LONG values[kMaxAlignValues] = {1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(WriteAlignValues(printer.c_str(), values));
    EXPECT_EQ(17, StateValue(friendly, L"AlignCMYK_0"));
    EXPECT_EQ(6, StateValue(friendly, L"AlignCMYK_5"));
    EXPECT_EQ(1, StateValue(friendly, L"AlignNeed")) << "still needs aligning";
}

namespace {
DWORD WINAPI SetPrinterDataFails(HANDLE, LPWSTR, DWORD, LPBYTE, DWORD) { return ERROR_ACCESS_DENIED; }
}  // namespace

TEST(InitPrinterState, StopsWhenThePrinterDataCannotBeWritten) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring friendly = env.FriendlyNameOf(printer);
    ImportPatch set(HandleLedger::ProgramModule(), "winspool.drv", "SetPrinterDataW",
                    reinterpret_cast<const void *>(&SetPrinterDataFails));
    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_FALSE(InitPrinterState(printer.c_str()));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(friendly));
}
