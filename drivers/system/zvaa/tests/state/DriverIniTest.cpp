// Finding the driver's INI among others, localised lookups and the configuration switches.
#include <windows.h>
#include <gtest/gtest.h>

#include <wchar.h>

#include "state/DriverFilesDir.h"
#include "state/DriverIni.h"
#include "support/HandleLedger.h"
#include "testbed/ImportPatch.h"
#include "testbed/PrinterEnvironment.h"

namespace {

std::wstring Lookup(const std::wstring &printer, const wchar_t *key, BOOL *found = nullptr) {
    WCHAR out[MAX_PATH] = L"unchanged";
    const BOOL result = GetDriverIniString(printer.c_str(), key, out, ARRAYSIZE(out));
    if (found) *found = result;
    return out;
}

std::wstring FoundIni(const std::wstring &printer) {
    WCHAR path[MAX_PATH] = {};
    return FindDriverIni(printer.c_str(), path, ARRAYSIZE(path)) ? path : L"";
}

}  // namespace

TEST(FindDriverIni, PicksTheFileNamingThePrintersDriverExactly) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    std::wstring upper = env.DriverName();
    for (wchar_t &c : upper) c = (wchar_t)towupper(c);
    env.WriteOwnDriverIni(L"CART_STD=fel fil\n", upper);                 // differs in case only
    env.WriteOwnDriverIni(L"CART_STD=fel fil\n", env.DriverName() + L"X");
    EXPECT_EQ(L"", FoundIni(printer));
    const std::wstring own = env.WriteOwnDriverIni(L"CART_STD=rätt fil\n");

    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_EQ(own, FoundIni(printer));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(L"", FoundIni(L"Skrivare som inte finns"));
    EXPECT_TRUE(ledger.Balanced());
}

TEST(FindDriverIni, TheFirstOfTwoFilesForOneDriverInListingOrderWins) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring a = env.WriteOwnDriverIni(L"CART_STD=a\n");
    const std::wstring b = env.WriteOwnDriverIni(L"CART_STD=b\n");
    // The listing order is the file system's, not alphabetical: ask it.
    std::wstring first;
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstFileW((env.DriverFilesDir() + L"*.ini").c_str(), &entry);
    ASSERT_NE(INVALID_HANDLE_VALUE, listing);
    do {
        const std::wstring path = env.DriverFilesDir() + entry.cFileName;
        if (path == a || path == b) {
            first = path;
            break;
        }
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
    EXPECT_EQ(first, FoundIni(printer));
    EXPECT_EQ(first == a ? L"a" : L"b", Lookup(printer, L"CART_STD"));
}

namespace {
LCID userLcid, systemLcid;
LCID WINAPI FakeUserLcid() { return userLcid; }
LCID WINAPI FakeSystemLcid() { return systemLcid; }
}  // namespace

TEST(GetDriverIniString, LooksInOemFilesThenUserThenSystemLanguageSections) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    env.WriteOwnDriverIni(L"CART_PHO=FOTO rot\n"
                          L"[Strings.041D]\nA=041D\nCART_PHO=FOTO sv\n"
                          L"[Strings.001D]\nA=001D\nB=001D\n"
                          L"[Strings.0409]\nA=0409\nB=0409\nC=0409\n"
                          L"[Strings.0009]\nA=0009\nB=0009\nC=0009\nD=0009\nE=Not Found\n");
    // One Wine process has one locale for user and system alike; the two are told apart here.
    userLcid = 0x0001041D;  // a sort id above the low 16 bits must not matter
    systemLcid = 0x0409;
    ImportPatch user(HandleLedger::ProgramModule(), "kernel32.dll", "GetUserDefaultLCID",
                     reinterpret_cast<const void *>(&FakeUserLcid));
    ImportPatch system(HandleLedger::ProgramModule(), "kernel32.dll", "GetSystemDefaultLCID",
                       reinterpret_cast<const void *>(&FakeSystemLcid));
    ASSERT_EQ(1u, user.slots());
    ASSERT_EQ(1u, system.slots());

    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_EQ(L"FOTO rot", Lookup(printer, L"CART_PHO"));
    EXPECT_EQ(L"041D", Lookup(printer, L"A"));
    EXPECT_EQ(L"001D", Lookup(printer, L"B"));
    EXPECT_EQ(L"0409", Lookup(printer, L"C"));
    EXPECT_EQ(L"0009", Lookup(printer, L"D"));
    BOOL found = TRUE;
    EXPECT_EQ(L"Not Found", Lookup(printer, L"E", &found));  // the marker text itself counts as missing
    EXPECT_FALSE(found);
    EXPECT_EQ(L"Not Found", Lookup(printer, L"ORDER_URL", &found));
    EXPECT_FALSE(found);
    EXPECT_TRUE(ledger.Balanced());
}

TEST(GetDriverIniString, FindsTheSectionOfTheProcessLocale) {
    // Wine takes the locale from LC_ALL when the process starts (en-US by default, sv-SE with
    // LC_ALL=sv_SE.UTF-8): whichever it is, its own section answers.
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    WCHAR section[32];
    swprintf(section, ARRAYSIZE(section), L"Strings.%04X", (unsigned)(GetUserDefaultLCID() & 0xFFFF));
    env.WriteOwnDriverIni(L"[Strings.0000]\nCART_BLK=fel\n[" + std::wstring(section) + L"]\nCART_BLK=SVART lokal\n");
    EXPECT_EQ(L"SVART lokal", Lookup(printer, L"CART_BLK"));
}

TEST(GetDriverIniString, SmallOutputsNeverTurnTheMissingMarkerIntoAValue) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    env.WriteOwnDriverIni(L"ORDER_URL=http://exempel.se/bläck\n");

    WCHAR small[5] = L"xxxx";
    EXPECT_FALSE(GetDriverIniString(printer.c_str(), L"CART_STD", small, ARRAYSIZE(small)));
    EXPECT_STREQ(L"Not ", small);
    EXPECT_TRUE(GetDriverIniString(printer.c_str(), L"ORDER_URL", small, ARRAYSIZE(small)));
    EXPECT_STREQ(L"http", small);  // a found value arrives cut
    WCHAR untouched[4] = L"abc";
    EXPECT_FALSE(GetDriverIniString(printer.c_str(), L"ORDER_URL", untouched, 0));
    EXPECT_STREQ(L"abc", untouched);
    EXPECT_FALSE(GetDriverIniString(printer.c_str(), L"ORDER_URL", nullptr, 10));
    EXPECT_FALSE(GetDriverIniString(L"Skrivare som inte finns", L"ORDER_URL", untouched, ARRAYSIZE(untouched)));
}

TEST(GetConfigSwitch, UsesTheFileNamedByPlcWhenItOpens) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    env.WriteConfigIni(L"[OEMConfig]\nDefaultPrinter=0\n");
    const std::wstring named = env.WriteFileAt(env.ScratchDir() + L"egen.ini", "[OEMConfig]\r\nDefaultPrinter=1\r\n");
    env.WriteOwnDriverIni(L"PLC=" + named + L"\n");

    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_EQ(1, GetConfigSwitch(printer.c_str(), L"DefaultPrinter", 0));
    EXPECT_TRUE(ledger.Balanced());

    // Held open without sharing by someone else: the file in the system directory is read instead.
    HANDLE held = CreateFileW(named.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ledger.Reset();
    EXPECT_EQ(0, GetConfigSwitch(printer.c_str(), L"DefaultPrinter", 1));
    EXPECT_TRUE(ledger.Balanced());
    CloseHandle(held);
}

TEST(GetConfigSwitch, TakesABareNameFromTheDriverFilesDirectory) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter(), name = L"plc" + env.Tag() + L".ini";
    env.WriteDriverIni(name, L"[OEMConfig]\nSwitch=1\n");
    env.WriteOwnDriverIni(L"PLC=" + name + L"\n");
    EXPECT_EQ(1, GetConfigSwitch(printer.c_str(), L"Switch", 0));
}

TEST(GetConfigSwitch, FallsBackToTheSystemDirectoryAndToTheDefault) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    env.WriteOwnDriverIni(L"PLC=" + env.ScratchDir() + L"saknas.ini\n");
    env.WriteConfigIni(L"[OEMConfig]\nOne=1\nZero=0\nEmpty=\nOther=ja\n");

    EXPECT_EQ(1, GetConfigSwitch(printer.c_str(), L"One", 0));
    EXPECT_EQ(0, GetConfigSwitch(printer.c_str(), L"Zero", 1));
    for (const wchar_t *key : {L"Empty", L"Other", L"Missing"}) {
        EXPECT_EQ(0, GetConfigSwitch(printer.c_str(), key, 0)) << key;
        EXPECT_EQ(1, GetConfigSwitch(printer.c_str(), key, 1)) << key;
    }
    EXPECT_EQ(1, GetConfigSwitch(printer.c_str(), L"Missing", 7));  // any non-zero default means 1
}

namespace {
BOOL WINAPI UnderWow64(HANDLE, PBOOL wow64) {
    *wow64 = TRUE;
    return TRUE;
}
std::wstring askedEnvironment = L"(not asked)";
decltype(&GetPrinterDriverDirectoryW) realDriverDirectory;
BOOL WINAPI RecordEnvironment(LPWSTR server, LPWSTR environment, DWORD level, LPBYTE dir, DWORD size, LPDWORD needed) {
    askedEnvironment = environment ? environment : L"(none)";
    return realDriverDirectory(server, environment, level, dir, size, needed);
}
}  // namespace

TEST(GetDriverFilesDir, A32BitProcessOn64BitWindowsLooksInTheX64Folder) {
    // The printer software's 32-bit components call the 32-bit copy on 64-bit Windows, where the
    // printer's driver files are installed for x64.
    ImportPatch directory(HandleLedger::ProgramModule(), "winspool.drv", "GetPrinterDriverDirectoryW",
                          reinterpret_cast<const void *>(&RecordEnvironment));
    realDriverDirectory = directory.original<decltype(&GetPrinterDriverDirectoryW)>();
    WCHAR dir[MAX_PATH];
    ASSERT_TRUE(GetDriverFilesDir(dir, ARRAYSIZE(dir)));
    EXPECT_EQ(L"(none)", askedEnvironment) << "a process of the system's own architecture asks for its own";
    {
        ImportPatch wow(HandleLedger::ProgramModule(), "kernel32.dll", "IsWow64Process",
                        reinterpret_cast<const void *>(&UnderWow64));
        ASSERT_TRUE(GetDriverFilesDir(dir, ARRAYSIZE(dir)));
    }
    EXPECT_EQ(L"Windows x64", askedEnvironment);
    const std::wstring folder = dir;
    EXPECT_EQ(0, _wcsicmp(folder.substr(folder.size() - 7).c_str(), L"\\x64\\3\\")) << folder;
}
