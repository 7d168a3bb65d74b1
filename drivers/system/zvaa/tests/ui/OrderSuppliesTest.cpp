// OrderSupplies starting a real process: the recording browser registered as the preferred browser
// tells how it was started, and the plug-in gives back the process and thread handles it was handed.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "support/HandleLedger.h"
#include "support/PrinterEnvironment.h"
#include "ui/SuppliesBrowser.h"

namespace {

class OrderSuppliesProcess : public testing::Test {
protected:
    void SetUp() override {
        m_env.LockShared();  // the browser registration is machine-wide
        m_printer = m_env.AddTestPrinter();
        ASSERT_FALSE(m_printer.empty());
        WCHAR path[MAX_PATH];
        ASSERT_NE(0u, GetModuleFileNameW(nullptr, path, ARRAYSIZE(path)));
        m_recorder = path;
        m_recorder.resize(m_recorder.find_last_of(L'\\') + 1);
        m_recorder += L"recording_browser.exe";
        m_record = m_env.ScratchDir() + L"browser.txt";
        SetEnvironmentVariableW(L"ZVAA_BROWSER_RECORD", m_record.c_str());
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, L"Applications\\NETSCAPE.EXE\\shell\\Open\\command",
                                                 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        const std::wstring command = L"  \"" + m_recorder + L"\" -remote \"openURL(%1)\"";
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(WCHAR)));
        RegCloseKey(key);
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Applications\\NETSCAPE.EXE");
        SetEnvironmentVariableW(L"ZVAA_BROWSER_RECORD", nullptr);
        DeleteFileW(m_record.c_str());
    }
    std::wstring WaitForRecord() {
        for (int i = 0; i < 100; ++i) {
            HANDLE file = CreateFileW(m_record.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                WCHAR text[600] = {};
                DWORD got = 0;
                ReadFile(file, text, sizeof text - sizeof(WCHAR), &got, nullptr);
                CloseHandle(file);
                if (got) return text;
            }
            Sleep(50);
        }
        return std::wstring();
    }

    PrinterEnvironment m_env;
    std::wstring m_printer, m_recorder, m_record;
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
    EXPECT_EQ(m_recorder + L" http://zelvorn.test/supplies", WaitForRecord());
}

}  // namespace
