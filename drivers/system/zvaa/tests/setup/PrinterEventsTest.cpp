// Printer installation and driver deletion on the real spooler and registry.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include <string.h>
#include <wctype.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "setup/PrinterEvents.h"
#include "state/PrinterStateKey.h"
#include "support/HandleLedger.h"
#include "testbed/ImportPatch.h"
#include "testbed/PluginLibrary.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/PrinterInstall.h"

namespace {

HRESULT Install(const std::wstring &printer, INT event = PRINTER_EVENT_INITIALIZE) {
    return OemPrinterEvent(const_cast<PWSTR>(printer.c_str()), event, 0, 0);
}

HRESULT DeleteDriver(const std::wstring &driver, DWORD level = 3) {
    DRIVER_INFO_3W info = {};
    info.cVersion = 3;
    info.pName = const_cast<LPWSTR>(driver.c_str());
    DRIVER_INFO_1W first = {const_cast<LPWSTR>(driver.c_str())};
    LPBYTE record = level == 1 ? reinterpret_cast<LPBYTE>(&first) : reinterpret_cast<LPBYTE>(&info);
    return OemDriverEvent(DRIVER_EVENT_DELETE, level, record, 0);
}

bool FileExists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring LibraryInSystemDir() { return PrinterEnvironment::SystemDir() + L"zvaaSUI.DLL"; }

}  // namespace

TEST(PrinterEvent, InitialisationPreparesTheStateAndOtherEventsDoNothing) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring friendly = env.FriendlyNameOf(printer);

    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_EQ(S_OK, Install(printer, PRINTER_EVENT_DELETE));
    EXPECT_EQ(S_OK, Install(printer, 999));
    EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(friendly));
    EXPECT_EQ(S_OK, Install(L"Skrivare som inte finns"));
    EXPECT_EQ(S_OK, OemPrinterEvent(nullptr, PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_TRUE(ledger.Balanced());

    EXPECT_EQ(S_OK, Install(printer));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(24u, PrinterEnvironment::StateValueNames(friendly).size());
}

TEST(PrinterEvent, MakesThePrinterTheDefaultOnlyWhenConfigured) {
    PrinterEnvironment env;
    env.LockShared();
    const std::wstring before = env.AddTestPrinter();
    ASSERT_TRUE(SetDefaultPrinterW(before.c_str()));
    const std::wstring printer = env.AddTestPrinter();

    env.WriteOwnConfigIni(L"[OEMConfig]\nDefaultPrinter=0\n");
    EXPECT_EQ(S_OK, Install(printer));
    EXPECT_EQ(before, PrinterEnvironment::DefaultPrinter());
    env.WriteOwnConfigIni(L"[OEMConfig]\nOther=1\n");
    EXPECT_EQ(S_OK, Install(printer));
    EXPECT_EQ(before, PrinterEnvironment::DefaultPrinter());

    // Reinstalling keeps the state and still applies the switch.
    const std::wstring friendly = env.FriendlyNameOf(printer);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(friendly).c_str(), 0,
                                           KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key));
    const DWORD photo = 2;
    RegSetValueExW(key, L"CartRight", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&photo), sizeof photo);
    RegCloseKey(key);
    env.WriteOwnConfigIni(L"[OEMConfig]\nDefaultPrinter=1\n");
    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_EQ(S_OK, Install(printer));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(printer, PrinterEnvironment::DefaultPrinter());
    std::string bytes;
    ASSERT_TRUE(PrinterEnvironment::ReadStateValue(friendly, L"CartRight", nullptr, &bytes));
    EXPECT_EQ(2, bytes[0]);
}

namespace {
// Whether the thread acted as another user when it set the default printer.
int impersonatedDefaults, ownDefaults;
BOOL WINAPI RecordWhoSetsTheDefault(LPCWSTR) {
    HANDLE token = nullptr;
    if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) {
        CloseHandle(token);
        ++impersonatedDefaults;
    } else {
        ++ownDefaults;
    }
    return TRUE;
}
}  // namespace

TEST(PrinterEvent, ALaterInitialisationKeepsTheNameAndStateAndSetsTheDefaultAsTheUser) {
    // The spooler initialises the printer again after an administrator moved it to another port: the
    // printer keeps its name, and with it its key and what the key holds.
    PrinterEnvironment env;
    env.LockShared();
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring friendly = env.FriendlyNameOf(printer);
    ASSERT_EQ(S_OK, Install(printer));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(friendly).c_str(), 0,
                                           KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key));
    const DWORD used = 7;
    RegSetValueExW(key, L"LevelK", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&used), sizeof used);
    RegCloseKey(key);
    ASSERT_TRUE(env.MovePrinterToPort(printer, env.NewPortPath()));
    ASSERT_NE(friendly, env.FriendlyNameOf(printer));

    // The event carries the installing user's token: the default printer is set as that user.
    env.WriteOwnConfigIni(L"[OEMConfig]\nDefaultPrinter=1\n");
    ImportPatch setDefault(HandleLedger::ProgramModule(), "winspool.drv", "SetDefaultPrinterW",
                           reinterpret_cast<const void *>(&RecordWhoSetsTheDefault));
    HANDLE process = nullptr, user = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &process));
    ASSERT_TRUE(DuplicateToken(process, SecurityImpersonation, &user));
    impersonatedDefaults = ownDefaults = 0;
    EXPECT_EQ(S_OK, OemPrinterEvent(const_cast<PWSTR>(printer.c_str()), PRINTER_EVENT_INITIALIZE, 0,
                                    reinterpret_cast<LPARAM>(user)));
    EXPECT_EQ(1, impersonatedDefaults);
    HANDLE still = nullptr;
    EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &still)) << "reverted to itself";
    EXPECT_EQ(S_OK, Install(printer));
    EXPECT_EQ(1, ownDefaults) << "without a token, as the caller";
    CloseHandle(user);
    CloseHandle(process);

    std::string bytes;
    ASSERT_TRUE(PrinterEnvironment::ReadStateValue(friendly, L"LevelK", nullptr, &bytes));
    EXPECT_EQ(7, bytes[0]);
    EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(env.FriendlyNameOf(printer))) << "no key for the new port";
    CartridgeType left = kCartNone, right = kCartNone;
    InkLevelSet levels = {};
    EXPECT_TRUE(ReadCartridges(printer.c_str(), &left, &right) && ReadInkLevels(printer.c_str(), &levels));
    EXPECT_EQ(7u, levels.counters[kInkLevelK]);
}

namespace {
DWORD WINAPI SetPrinterDataFails(HANDLE, LPWSTR, DWORD, LPBYTE, DWORD) { return ERROR_ACCESS_DENIED; }
int defaultCalls;
BOOL WINAPI CountDefaultCalls(LPCWSTR) {
    ++defaultCalls;
    return TRUE;
}
}  // namespace

TEST(PrinterEvent, AFailedInitialisationReportsFailureAndLeavesTheDefaultAlone) {
    PrinterEnvironment env;
    env.LockShared();
    const std::wstring printer = env.AddTestPrinter();
    env.WriteOwnConfigIni(L"[OEMConfig]\nDefaultPrinter=1\n");
    ImportPatch fail(HandleLedger::ProgramModule(), "winspool.drv", "SetPrinterDataW",
                     reinterpret_cast<const void *>(&SetPrinterDataFails));
    ImportPatch setDefault(HandleLedger::ProgramModule(), "winspool.drv", "SetDefaultPrinterW",
                           reinterpret_cast<const void *>(&CountDefaultCalls));
    ASSERT_EQ(1u, setDefault.slots()) << "the documented set-default entry, by name on both architectures";
    defaultCalls = 0;
    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_EQ(E_FAIL, Install(printer));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(0, defaultCalls);
}

namespace {
void MakeStateKey(const std::wstring &friendly) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(friendly).c_str(), 0,
                                             nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr));
    RegCloseKey(key);
}
}  // namespace

// A key is the deleted driver's when "<driver> " begins its name and no longer name of a driver that
// is still installed begins it so. Under Wine the deleted driver itself stays listed by the spooler.
TEST(DriverEvent, RemovesTheStateKeysOfTheDeletedDriverOnly) {
    PrinterEnvironment env;
    env.LockShared();  // the event also deletes the library's copy in the system directory
    const std::wstring mine = env.AddTestPrinter();
    const std::wstring longer = env.AddTestPrinter(L"", env.DriverName() + L" Plus");
    const std::wstring other = env.AddTestPrinter(L"", L"Annan drivrutin " + env.Tag());
    for (const std::wstring &p : {mine, longer, other}) ASSERT_EQ(S_OK, Install(p));
    MakeStateKey(L"OFN1");
    // A printer of a driver no longer installed whose name goes on past the installed longer one's,
    // a name that holds the driver's only later, and one that differs in case.
    const std::wstring gone = env.DriverName() + L" Plus2 /tmp/port",
                       inside = L"Annan " + env.DriverName() + L" /tmp/port";
    std::wstring otherCase = env.DriverName() + L" /tmp/port";
    for (wchar_t &c : otherCase) c = static_cast<wchar_t>(towupper(c));
    for (const std::wstring &k : {gone, inside, otherCase}) MakeStateKey(k);
    auto present = [&](const std::wstring &printer) {
        return PrinterEnvironment::StateKeyPresent(env.FriendlyNameOf(printer));
    };

    // Every name contains the empty one: without a driver name nothing may go.
    EXPECT_EQ(S_OK, DeleteDriver(L""));
    EXPECT_EQ(S_OK, OemDriverEvent(DRIVER_EVENT_DELETE, 3, nullptr, 0));
    DRIVER_INFO_1W info = {const_cast<LPWSTR>(env.DriverName().c_str())};
    EXPECT_EQ(S_OK, OemDriverEvent(999, 1, reinterpret_cast<LPBYTE>(&info), 0));
    EXPECT_TRUE(present(mine) && present(longer) && present(other));

    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_EQ(S_OK, DeleteDriver(env.DriverName()));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_FALSE(present(mine));
    EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(gone));
    EXPECT_TRUE(present(longer)) << "the state of another installed driver's printer";
    EXPECT_TRUE(present(other));
    EXPECT_TRUE(PrinterEnvironment::StateKeyPresent(inside));
    EXPECT_TRUE(PrinterEnvironment::StateKeyPresent(otherCase));
    EXPECT_TRUE(PrinterEnvironment::StateKeyPresent(L"OFN1"));

    // The longer driver deleted in turn takes its own printers' keys.
    EXPECT_EQ(S_OK, DeleteDriver(env.DriverName() + L" Plus"));
    EXPECT_FALSE(present(longer));
    EXPECT_TRUE(present(other));
    for (const std::wstring &k : {inside, otherCase}) PrinterEnvironment::DeleteStateKey(k);
}

TEST(DriverEvent, FindsTheNameInEveryLevelOfDriverInformation) {
    PrinterEnvironment env;
    env.LockShared();
    const std::wstring printer = env.AddTestPrinter();
    for (DWORD level : {1u, 2u, 3u, 6u}) {
        ASSERT_EQ(S_OK, Install(printer));
        EXPECT_EQ(S_OK, DeleteDriver(env.DriverName(), level));
        EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(env.FriendlyNameOf(printer))) << "level " << level;
    }
}

TEST(DriverEvent, AStateKeyWithSubkeysGoesWhole) {
    PrinterEnvironment env;
    env.LockShared();
    // A backslash in a port name nests keys: the printer's state is the whole branch.
    const std::wstring friendly = env.DriverName() + L" Z:\\portar\\" + env.Tag();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(friendly).c_str(), 0,
                                             nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr));
    RegCloseKey(key);
    EXPECT_EQ(S_OK, DeleteDriver(env.DriverName()));
    EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(env.DriverName() + L" Z:"));
}

namespace {
// The spooler's list grows between the size query and the listing (a driver installed meanwhile):
// the first listing into the asked-for room fails for want of room, twice.
decltype(&EnumPrinterDriversW) realEnumDrivers;
int listingsRefused;
BOOL WINAPI DriverListGrowsMeanwhile(LPWSTR server, LPWSTR environment, DWORD level, LPBYTE drivers, DWORD size,
                                     LPDWORD needed, LPDWORD returned) {
    if (drivers && listingsRefused < 2) {
        ++listingsRefused;
        realEnumDrivers(server, environment, level, nullptr, 0, needed, returned);
        *needed = size + 64;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    return realEnumDrivers(server, environment, level, drivers, size, needed, returned);
}
}  // namespace

TEST(DriverEvent, ADriverListThatGrowsWhileItIsFetchedStillLetsTheKeysGo) {
    PrinterEnvironment env;
    env.LockShared();  // the event also deletes the library's copy in the system directory
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_EQ(S_OK, Install(printer));
    listingsRefused = 0;
    {
        ImportPatch list(HandleLedger::ProgramModule(), "winspool.drv", "EnumPrinterDriversW",
                         reinterpret_cast<const void *>(&DriverListGrowsMeanwhile));
        realEnumDrivers = list.original<decltype(&EnumPrinterDriversW)>();
        HandleLedger ledger(HandleLedger::ProgramModule());
        EXPECT_EQ(S_OK, DeleteDriver(env.DriverName()));
        EXPECT_TRUE(ledger.Balanced());
    }
    EXPECT_EQ(2, listingsRefused);
    EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(env.FriendlyNameOf(printer)));
}

namespace {
// Every listing the deletion asks for, and how many of them the spooler refused.
std::atomic<int> listings(0), listingsFailed(0);
BOOL WINAPI CountedDriverListing(LPWSTR server, LPWSTR environment, DWORD level, LPBYTE drivers, DWORD size,
                                 LPDWORD needed, LPDWORD returned) {
    ++listings;
    const BOOL listed = realEnumDrivers(server, environment, level, drivers, size, needed, returned);
    if (!listed) ++listingsFailed;
    return listed;
}
}  // namespace

TEST(DriverEvent, DriversInstalledAndDeletedMeanwhileStillLetTheKeysGo) {
    // Two threads install and delete drivers of their own while the deletion runs, as setup programs
    // and other tests do beside it: the spooler's listing fails now and then, and the keys go all the
    // same, every round.
    PrinterEnvironment env;
    env.LockShared();
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring files = L"zvtest-" + env.Tag() + L"-0";
    std::atomic<bool> stop(false);
    auto churn = [&](int n) {
        const std::wstring name = L"ZV Växlande " + env.Tag() + L"-" + std::to_wstring(n);
        while (!stop) {
            AddDriverOfFiles(name, files + L".drv", files + L".dat", files + L".cfg", true);
            DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(name.c_str()));
        }
    };
    std::thread first(churn, 1), second(churn, 2);
    ImportPatch list(HandleLedger::ProgramModule(), "winspool.drv", "EnumPrinterDriversW",
                     reinterpret_cast<const void *>(&CountedDriverListing));
    realEnumDrivers = list.original<decltype(&EnumPrinterDriversW)>();
    for (int round = 0; round < 30; ++round) {
        EXPECT_EQ(S_OK, Install(printer));
        listings = listingsFailed = 0;
        EXPECT_EQ(S_OK, DeleteDriver(env.DriverName()));
        EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(env.FriendlyNameOf(printer)))
            << "round " << round << ": " << listingsFailed << " of " << listings << " listings refused";
    }
    stop = true;
    first.join();
    second.join();
}

namespace {
decltype(&DeleteFileW) realDelete;
BOOL WINAPI LibraryStaysPut(LPCWSTR path) {
    if (lstrcmpiW(path, LibraryInSystemDir().c_str()) == 0) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return realDelete(path);
}
BOOL WINAPI MoveRefused(LPCWSTR, LPCWSTR) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// The "ZV*.tmp" files of the temporary folder.
std::vector<std::wstring> TempFilesOfThePlugin() {
    WCHAR temp[MAX_PATH];
    GetTempPathW(ARRAYSIZE(temp), temp);
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstFileW((std::wstring(temp) + L"ZV*.tmp").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) return found;
    do found.push_back(std::wstring(temp) + entry.cFileName);
    while (FindNextFileW(listing, &entry));
    FindClose(listing);
    return found;
}
}  // namespace

#if defined(_WIN64)
TEST(DriverEvent, A64BitBuildRemovesTheCopiesOfBothSystemDirectories) {
    PrinterEnvironment env;
    env.LockShared();
    WCHAR wow64[MAX_PATH];
    const UINT length = GetSystemWow64DirectoryW(wow64, ARRAYSIZE(wow64));
    ASSERT_TRUE(length > 0 && length < ARRAYSIZE(wow64));
    const std::wstring native = env.WriteFileAt(LibraryInSystemDir(), "MZ 64");
    const std::wstring legacy = env.WriteFileAt(std::wstring(wow64) + L"\\zvaaSUI.DLL", "MZ 32");
    ASSERT_FALSE(native.empty() || legacy.empty());
    EXPECT_EQ(S_OK, DeleteDriver(env.DriverName()));
    EXPECT_FALSE(FileExists(native));
    EXPECT_FALSE(FileExists(legacy));
}
#endif

TEST(DriverEvent, DeletesTheLibraryFileOrMovesItToATemporaryName) {
    PrinterEnvironment env;
    env.LockShared();
    const std::wstring library = env.WriteFileAt(LibraryInSystemDir(), "MZ gammal");
    ASSERT_FALSE(library.empty());
    EXPECT_EQ(S_OK, DeleteDriver(env.DriverName()));
    EXPECT_FALSE(FileExists(library));

    env.WriteFileAt(library, "MZ upptagen");
    const std::vector<std::wstring> before = TempFilesOfThePlugin();
    {
        ImportPatch del(HandleLedger::ProgramModule(), "kernel32.dll", "DeleteFileW",
                        reinterpret_cast<const void *>(&LibraryStaysPut));
        realDelete = del.original<decltype(&DeleteFileW)>();
        HandleLedger ledger(HandleLedger::ProgramModule());
        EXPECT_EQ(S_OK, DeleteDriver(env.DriverName()));
        EXPECT_TRUE(ledger.Balanced());
    }
    EXPECT_FALSE(FileExists(library));
    std::wstring moved;
    for (const std::wstring &f : TempFilesOfThePlugin())
        if (std::find(before.begin(), before.end(), f) == before.end()) moved = f;
    ASSERT_FALSE(moved.empty()) << "moved to a fresh ZV temporary file";
    HANDLE file = CreateFileW(moved.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char content[32] = {};
    DWORD got = 0;
    ReadFile(file, content, sizeof content - 1, &got, nullptr);
    CloseHandle(file);
    EXPECT_STREQ("MZ upptagen", content);
    DeleteFileW(moved.c_str());

    // Neither deleted nor moved: it stays, and no empty temporary file is left behind.
    env.WriteFileAt(library, "MZ kvar");
    {
        ImportPatch del(HandleLedger::ProgramModule(), "kernel32.dll", "DeleteFileW",
                        reinterpret_cast<const void *>(&LibraryStaysPut));
        realDelete = del.original<decltype(&DeleteFileW)>();
        ImportPatch move(HandleLedger::ProgramModule(), "kernel32.dll", "MoveFileW",
                         reinterpret_cast<const void *>(&MoveRefused));
        EXPECT_EQ(S_OK, DeleteDriver(env.DriverName()));
    }
    EXPECT_TRUE(FileExists(library));
    EXPECT_EQ(before.size(), TempFilesOfThePlugin().size());
}

TEST(PrinterEvent, ThroughThePluginObjectOfTheDll) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    // A second installed driver whose name begins with the first's.
    const std::wstring longer = env.AddTestPrinter(L"", env.DriverName() + L" Plus");
    ASSERT_EQ(S_OK, Install(longer));
    PluginLibrary dll;
    ASSERT_NE(nullptr, dll.module());
    IPrintOemUI *plugin = dll.CreatePlugin();
    ASSERT_NE(nullptr, plugin);
    {
        HandleLedger ledger(dll.module());
        ledger.TrackCrtBlocks();
        EXPECT_EQ(S_OK, plugin->PrinterEvent(const_cast<PWSTR>(printer.c_str()), PRINTER_EVENT_INITIALIZE, 0, 0));
        EXPECT_TRUE(ledger.Balanced());
    }
    const std::wstring friendly = env.FriendlyNameOf(printer);
    EXPECT_EQ(24u, PrinterEnvironment::StateValueNames(friendly).size());
    {
        HandleLedger ledger(dll.module());
        DRIVER_INFO_2W info = {};
        info.cVersion = 3;
        info.pName = const_cast<LPWSTR>(env.DriverName().c_str());
        EXPECT_EQ(S_OK, plugin->DriverEvent(DRIVER_EVENT_DELETE, 2, reinterpret_cast<LPBYTE>(&info), 0));
        EXPECT_TRUE(ledger.Balanced());
    }
    EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(friendly));
    EXPECT_TRUE(PrinterEnvironment::StateKeyPresent(env.FriendlyNameOf(longer))) << "the other driver's printer's";
    plugin->Release();
}

namespace {
// One value's write is refused, as a full registry or a deletion racing the installation refuses it.
decltype(&RegSetValueExW) realSetValue;
const wchar_t *refusedValue = nullptr;
LSTATUS WINAPI SetValueRefusingOne(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE *data, DWORD size) {
    if (refusedValue && name && wcscmp(name, refusedValue) == 0) return ERROR_ACCESS_DENIED;
    return realSetValue(key, name, reserved, type, data, size);
}
}  // namespace

// An installation cut short leaves a half-written key; the next one completes it and keeps what is
// there, through the plug-in object of the DLL.
TEST(PrinterEvent, AReinstallationCompletesAHalfWrittenKeyAndKeepsItsValues) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring friendly = env.FriendlyNameOf(printer);
    PluginLibrary dll;
    ASSERT_NE(nullptr, dll.module());
    IPrintOemUI *plugin = dll.CreatePlugin();
    ASSERT_NE(nullptr, plugin);
    PWSTR name = const_cast<PWSTR>(printer.c_str());
    for (const wchar_t *refused : {L"LevelM", L"CartRight"}) {
        SCOPED_TRACE(testing::Message() << "refused " << std::string(refused, refused + wcslen(refused)));
        PrinterEnvironment::DeleteStateKey(friendly);
        {
            ImportPatch set(dll.module(), "advapi32.dll", "RegSetValueExW",
                            reinterpret_cast<const void *>(&SetValueRefusingOne));
            ASSERT_NE(0u, set.slots());
            realSetValue = set.original<decltype(&RegSetValueExW)>();
            refusedValue = refused;
            EXPECT_EQ(E_FAIL, plugin->PrinterEvent(name, PRINTER_EVENT_INITIALIZE, 0, 0));
            refusedValue = nullptr;
        }
        std::vector<std::wstring> names = PrinterEnvironment::StateValueNames(friendly);
        EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), std::wstring(refused)));

        // What the first installation stored, changed since by a component, stays as it is.
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(friendly).c_str(),
                                               0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key));
        const DWORD lowered = 1234, colourHigh = 5;
        RegSetValueExW(key, L"LevelK", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&lowered), sizeof lowered);
        RegSetValueExW(key, L"CartLeft", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&colourHigh), sizeof colourHigh);
        RegCloseKey(key);

        EXPECT_EQ(S_OK, plugin->PrinterEvent(name, PRINTER_EVENT_INITIALIZE, 0, 0));
        EXPECT_EQ(24u, PrinterEnvironment::StateValueNames(friendly).size());
        std::string bytes;
        ASSERT_TRUE(PrinterEnvironment::ReadStateValue(friendly, refused, nullptr, &bytes));
        const DWORD expected = wcscmp(refused, L"LevelM") == 0 ? 550000000u : 1u;
        EXPECT_EQ(0, memcmp(&expected, bytes.data(), sizeof expected));
        ASSERT_TRUE(PrinterEnvironment::ReadStateValue(friendly, L"AlignNeed", nullptr, &bytes));
        EXPECT_EQ(1, bytes[0]);
        ASSERT_TRUE(PrinterEnvironment::ReadStateValue(friendly, L"LevelK", nullptr, &bytes));
        EXPECT_EQ(0, memcmp(&lowered, bytes.data(), sizeof lowered));
        ASSERT_TRUE(PrinterEnvironment::ReadStateValue(friendly, L"CartLeft", nullptr, &bytes));
        EXPECT_EQ(5, bytes[0]);
    }
    plugin->Release();
}
