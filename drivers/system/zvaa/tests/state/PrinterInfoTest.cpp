// The printer record by name or through a caller's handle, and the remote-printer test.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include "state/PrinterInfo.h"
#include "support/HandleLedger.h"
#include "testbed/ImportPatch.h"
#include "testbed/PrinterEnvironment.h"

TEST(FetchPrinterInfo, ByNameGivesTheRecordAndReleasesEverythingButTheRecord) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_FALSE(printer.empty());

    HandleLedger ledger(HandleLedger::ProgramModule());
    PRINTER_INFO_2W *info = FetchPrinterInfo(printer.c_str(), nullptr);
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(1u, ledger.StillOpen(LedgerKind::kHeapBlock));  // the record itself
    EXPECT_EQ(printer, info->pPrinterName);
    EXPECT_EQ(env.DriverName(), info->pDriverName);
    EXPECT_EQ(env.PortOf(printer), info->pPortName);
    FreePrinterInfo(info);
    EXPECT_TRUE(ledger.Balanced());

    EXPECT_EQ(nullptr, FetchPrinterInfo(L"Skrivare som inte finns", nullptr));
    EXPECT_EQ(nullptr, FetchPrinterInfo(nullptr, nullptr));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_FALSE(IsRemotePrinter(L"Skrivare som inte finns", nullptr));
    EXPECT_FALSE(IsRemotePrinter(printer.c_str(), nullptr));
    EXPECT_TRUE(ledger.Balanced());
}

TEST(FetchPrinterInfo, AGivenHandleStaysOpen) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr));
    {
        HandleLedger ledger(HandleLedger::ProgramModule());
        PRINTER_INFO_2W *info = FetchPrinterInfo(nullptr, handle);
        ASSERT_NE(nullptr, info);
        EXPECT_EQ(printer, info->pPrinterName);
        FreePrinterInfo(info);
        EXPECT_EQ(0u, ledger.Released(LedgerKind::kPrinter));
        EXPECT_TRUE(ledger.Balanced());
    }
    DWORD needed = 0;
    GetPrinterW(handle, 2, nullptr, 0, &needed);
    EXPECT_NE(0u, needed) << "the caller's handle must still work";
    ClosePrinter(handle);
}

namespace {
// Wine has no printer connections to other machines: the record is made to name a server.
decltype(&GetPrinterW) realGetPrinterW;
BOOL WINAPI GetPrinterOfServer(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    const BOOL ok = realGetPrinterW(printer, level, buffer, size, needed);
    if (ok && level == 2 && buffer) reinterpret_cast<PRINTER_INFO_2W *>(buffer)->pServerName = const_cast<LPWSTR>(L"\\\\druck");
    return ok;
}
}  // namespace

TEST(IsRemotePrinter, AConnectionToAnotherMachineIsRemote) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ImportPatch patch(HandleLedger::ProgramModule(), "winspool.drv", "GetPrinterW",
                      reinterpret_cast<const void *>(&GetPrinterOfServer));
    realGetPrinterW = patch.original<decltype(&GetPrinterW)>();
    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_TRUE(IsRemotePrinter(printer.c_str(), nullptr));
    EXPECT_TRUE(ledger.Balanced());
}
