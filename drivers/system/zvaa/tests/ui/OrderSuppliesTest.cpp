// OrderSupplies starting a real process: the recording browser registered as the preferred browser
// tells how it was started, and the plug-in gives back the process and thread handles it was handed.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "support/HandleLedger.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/RecordingBrowser.h"
#include "ui/SuppliesBrowser.h"

namespace {

class OrderSuppliesProcess : public testing::Test {
protected:
    void SetUp() override {
        m_env.LockShared();  // the browser registration is machine-wide
        m_printer = m_env.AddTestPrinter();
        ASSERT_FALSE(m_printer.empty());
        ASSERT_TRUE(m_browser.Register(m_env.ScratchDir(), L"  ", L" -remote \"openURL(%1)\""));
    }
    void TearDown() override { m_browser.Unregister(); }

    PrinterEnvironment m_env;
    RecordingBrowser m_browser;
    std::wstring m_printer;
};

TEST_F(OrderSuppliesProcess, StartsTheBrowserWithTheAddressAndKeepsNoHandle) {
    m_env.WriteOwnDriverIni(L"[Strings.0409]\nORDER_URL=http://zelvorn.test/supplies\n"
                            L"[Strings.041D]\nORDER_URL=http://zelvorn.test/supplies\n");
    EXPECT_EQ(1, IsBrowserAvailable());
    HandleLedger ledger(HandleLedger::ProgramModule());
    ledger.Reset();
    OrderSupplies(m_printer.c_str());
    EXPECT_GE(ledger.Acquired(LedgerKind::kKernelHandle), 2u);  // the process and its thread
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(m_browser.Program() + L" http://zelvorn.test/supplies", m_browser.WaitForRecord());
}

}  // namespace
