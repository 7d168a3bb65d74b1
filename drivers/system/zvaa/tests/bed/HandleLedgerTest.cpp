// The ledger must see a handle left open, and must not see one where the code closed everything.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include "support/HandleLedger.h"
#include "testbed/ImportPatch.h"
#include "testbed/PrinterEnvironment.h"

TEST(HandleLedger, SeesRegistryKeysLeftOpenAndClosed) {
    HandleLedger ledger(HandleLedger::ProgramModule());
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &key));
    EXPECT_FALSE(ledger.Balanced());
    EXPECT_EQ(1u, ledger.StillOpen(LedgerKind::kRegistryKey));
    RegCloseKey(key);
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(1u, ledger.Acquired(LedgerKind::kRegistryKey));
    EXPECT_EQ(1u, ledger.Released(LedgerKind::kRegistryKey));
}

TEST(HandleLedger, SeesPrinterFindFileAndMemoryHandles) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_FALSE(printer.empty());
    const std::wstring file = env.WriteFileAt(env.ScratchDir() + L"ledger.txt", "x");

    HandleLedger ledger(HandleLedger::ProgramModule());
    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr));
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(file.c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    HANDLE opened = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, opened);
    void *heap = HeapAlloc(GetProcessHeap(), 0, 16);
    HGLOBAL global = GlobalAlloc(GMEM_FIXED, 16);
    EXPECT_EQ(1u, ledger.StillOpen(LedgerKind::kPrinter));
    EXPECT_EQ(1u, ledger.StillOpen(LedgerKind::kFind));
    EXPECT_EQ(1u, ledger.StillOpen(LedgerKind::kKernelHandle));
    EXPECT_EQ(1u, ledger.StillOpen(LedgerKind::kHeapBlock));
    EXPECT_EQ(1u, ledger.StillOpen(LedgerKind::kGlobalBlock));

    ClosePrinter(handle);
    FindClose(find);
    CloseHandle(opened);
    HeapFree(GetProcessHeap(), 0, heap);
    GlobalFree(global);
    EXPECT_TRUE(ledger.Balanced());
}

TEST(HandleLedger, CountsRuntimeBlocksOnRequest) {
    HandleLedger ledger(HandleLedger::ProgramModule());
    ledger.TrackCrtBlocks();
    ledger.Reset();
    static void *volatile block;  // kept observable, or the compiler drops the pair
    block = malloc(16);
    const size_t openAfterMalloc = ledger.StillOpen(LedgerKind::kCrtBlock);
    free(block);
    const size_t released = ledger.Released(LedgerKind::kCrtBlock);
    EXPECT_EQ(1u, openAfterMalloc);
    EXPECT_EQ(1u, released);
}

TEST(HandleLedger, ReportsADoubleCloseAsForeign) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &key));
    HandleLedger ledger(HandleLedger::ProgramModule());
    RegCloseKey(key);  // acquired before the ledger: not its to release
    EXPECT_FALSE(ledger.Balanced());
    ledger.Reset();
    EXPECT_TRUE(ledger.Balanced());
}

namespace {
LSTATUS WINAPI DenyOpen(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY) { return ERROR_ACCESS_DENIED; }
}  // namespace

TEST(HandleLedger, StacksWithAFailureInjectedBeforeIt) {
    ImportPatch deny(HandleLedger::ProgramModule(), "advapi32.dll", "RegOpenKeyExW", reinterpret_cast<const void *>(&DenyOpen));
    ASSERT_EQ(1u, deny.slots());
    HandleLedger ledger(HandleLedger::ProgramModule());
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &key));
    EXPECT_EQ(0u, ledger.Acquired(LedgerKind::kRegistryKey));
    EXPECT_TRUE(ledger.Balanced());
}

namespace {
DWORD WINAPI AllocateUntilStopped(LPVOID stop) {
    while (!*static_cast<volatile LONG *>(stop)) HeapFree(GetProcessHeap(), 0, HeapAlloc(GetProcessHeap(), 0, 64));
    return 0;
}
}  // namespace

TEST(HandleLedger, CountsItsOwnThreadWhateverOtherThreadsDo) {
    // Another thread of the process allocates through the same imports all the while (as a thread the
    // platform starts does): every key of this thread is still seen opened and closed, nothing else.
    HandleLedger ledger(HandleLedger::ProgramModule());
    volatile LONG stop = 0;
    HANDLE other = CreateThread(nullptr, 0, AllocateUntilStopped, const_cast<LONG *>(&stop), 0, nullptr);
    ASSERT_NE(nullptr, other);
    for (int i = 0; i < 2000; ++i) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &key) == ERROR_SUCCESS) RegCloseKey(key);
    }
    stop = 1;
    WaitForSingleObject(other, INFINITE);
    EXPECT_EQ(2000u, ledger.Acquired(LedgerKind::kRegistryKey));
    EXPECT_EQ(0u, ledger.Acquired(LedgerKind::kHeapBlock));
    EXPECT_TRUE(ledger.Balanced());
    ledger.Reset();
    CloseHandle(other);
}
