// OEMDeletePrinterDriver: the printer goes, its driver's deletion is asked for, and the command line is
// handled safely whatever its length.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/HandleLedger.h"
#include "testbed/ImportPatch.h"
#include "testbed/PluginLibrary.h"
#include "testbed/PrinterEnvironment.h"
#include "zvaaSUI.h"

namespace {

std::vector<std::wstring> calls;
std::wstring deletedDriver;
DWORD deleteFlags, deleteVersion;
bool serverOrEnvironmentGiven;

void WINAPI RecordSleep(DWORD milliseconds) { calls.push_back(L"Sleep " + std::to_wstring(milliseconds)); }

BOOL WINAPI RecordDriverDeletion(LPWSTR server, LPWSTR environment, LPWSTR driver, DWORD flags, DWORD version) {
    calls.push_back(L"DeletePrinterDriverExW");
    serverOrEnvironmentGiven = server || environment;
    deletedDriver = driver ? driver : L"";
    deleteFlags = flags;
    deleteVersion = version;
    return FALSE;  // as Wine's spooler answers
}

BOOL WINAPI DeletePrinterRefused(HANDLE) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

// Runs the export of the static library with the wait and the driver deletion observed.
void RunRemoval(const char *commandLine) {
    calls.clear();
    deletedDriver.clear();
    ImportPatch sleep(HandleLedger::ProgramModule(), "kernel32.dll", "Sleep", reinterpret_cast<const void *>(&RecordSleep));
    ImportPatch driver(HandleLedger::ProgramModule(), "winspool.drv", "DeletePrinterDriverExW",
                       reinterpret_cast<const void *>(&RecordDriverDeletion));
    HandleLedger ledger(HandleLedger::ProgramModule());
    OEMDeletePrinterDriver(nullptr, nullptr, const_cast<LPSTR>(commandLine), SW_SHOWNORMAL);
    EXPECT_TRUE(ledger.Balanced());
}

std::string Ansi(const std::wstring &text) {
    char out[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out, sizeof out, nullptr, nullptr);
    return out;
}

}  // namespace

TEST(OEMDeletePrinterDriver, WaitsThenDeletesThePrinterAndAsksForItsDriver) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter(L"Skrivare för borttagning " + env.Tag());
    ASSERT_FALSE(printer.empty());
    RunRemoval(Ansi(printer).c_str());
    EXPECT_FALSE(env.PrinterExists(printer));
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(L"Sleep 10000", calls[0]) << "the wait comes before anything else";
    EXPECT_EQ(env.DriverName(), deletedDriver);
    EXPECT_FALSE(serverOrEnvironmentGiven);
    EXPECT_EQ((DWORD)DPD_DELETE_ALL_FILES, deleteFlags);
    EXPECT_EQ(0u, deleteVersion);
}

TEST(OEMDeletePrinterDriver, AsksForTheDriverEvenWhenThePrinterStays) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ImportPatch refuse(HandleLedger::ProgramModule(), "winspool.drv", "DeletePrinter",
                       reinterpret_cast<const void *>(&DeletePrinterRefused));
    RunRemoval(Ansi(printer).c_str());
    EXPECT_TRUE(env.PrinterExists(printer));
    EXPECT_EQ(env.DriverName(), deletedDriver);
}

TEST(OEMDeletePrinterDriver, UnknownMissingAndOverlongNamesOnlyWait) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    RunRemoval("Skrivare som inte finns");
    EXPECT_EQ(std::vector<std::wstring>{L"Sleep 10000"}, calls);
    RunRemoval(nullptr);
    EXPECT_EQ(std::vector<std::wstring>{L"Sleep 10000"}, calls);
    RunRemoval("");
    EXPECT_EQ(std::vector<std::wstring>{L"Sleep 10000"}, calls);

    // Longer than a printer name can be: refused whole rather than cut to some other printer's name.
    for (size_t length : {259u, 260u, 4000u}) {
        std::string line = Ansi(printer);
        line.resize(length, 'x');
        RunRemoval(line.c_str());
        EXPECT_EQ(std::vector<std::wstring>{L"Sleep 10000"}, calls) << length;
    }
    EXPECT_TRUE(env.PrinterExists(printer));
}

TEST(OEMDeletePrinterDriver, RunThroughRundll32RemovesThePrinter) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    WCHAR dll[MAX_PATH];
    PathBesideProgram(L"zvaaSUI.dll", dll, ARRAYSIZE(dll));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dll));
    std::wstring command = L"rundll32.exe " + std::wstring(dll) + L",OEMDeletePrinterDriver " + printer;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    const DWORD started = GetTickCount();
    const DWORD waited = WaitForSingleObject(process.hProcess, 25000);
    const DWORD elapsed = GetTickCount() - started;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(WAIT_OBJECT_0, waited);
    EXPECT_GE(elapsed, 9500u) << "the export waits ten seconds first";
    EXPECT_FALSE(env.PrinterExists(printer));
    // Wine's spooler answers the driver deletion with failure and keeps the driver; the request itself
    // is checked above through the import table.
}
