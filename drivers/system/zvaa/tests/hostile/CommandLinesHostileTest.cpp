// The two rundll32 entries given the command lines a careless script or a damaged shortcut produces:
// none, empty, without quotes, with one quote, 10 KB long, with bytes above 127. A line that names no
// printer does nothing (no dialog, no deletion); a line too long for a printer name is refused whole,
// even when a real printer's name is in it; a real printer named in the system code page is found.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostile/HostilePlugin.h"
#include "testbed/DialogRobot.h"
#include "testbed/ImportPatch.h"
#include "testbed/PrinterEnvironment.h"
#include "zvaaSUI.h"

namespace {

int g_waits;
std::vector<std::wstring> g_driverDeletions;

void WINAPI RecordWait(DWORD) { ++g_waits; }
BOOL WINAPI RecordDriverDeletion(LPWSTR, LPWSTR, LPWSTR driver, DWORD, DWORD) {
    g_driverDeletions.push_back(driver ? driver : L"");
    return FALSE;
}

std::string Ansi(const std::wstring &text) {
    std::string out(text.size() * 2 + 1, '\0');
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], (int)out.size(), nullptr, nullptr);
    out.resize(bytes > 0 ? bytes - 1 : 0);
    return out;
}

// Lines that name no printer.
std::vector<std::string> CarelessLines() {
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
    return {"",
            "   ",
            "Ingen sådan skrivare",
            "\"Ingen sådan skrivare",
            "\"\"",
            "\"Ingen\" \"sådan\" \"skrivare\"",
            std::string(10 * 1024, 'A'),
            std::string(10 * 1024, '"'),
            "\"" + high + "\"",
            high,
            std::string(259, 'x'),
            std::string(260, 'x')};
}

struct HostileCommandLines : HostilePlugin {
    void SetUp() override {
        HostilePlugin::SetUp();
        printer = env.AddTestPrinter(L"Testskrivare åäö " + env.Tag());
        ASSERT_FALSE(printer.empty());
        g_waits = 0;
        g_driverDeletions.clear();
        wait.reset(new ImportPatch(dll.module(), "kernel32.dll", "Sleep", reinterpret_cast<const void *>(&RecordWait)));
        deletion.reset(new ImportPatch(dll.module(), "winspool.drv", "DeletePrinterDriverExW",
                                       reinterpret_cast<const void *>(&RecordDriverDeletion)));
        ledger->Reset();
    }
    void TearDown() override {
        wait.reset();
        deletion.reset();
        HostilePlugin::TearDown();
    }

    PrinterEnvironment env;
    std::wstring printer;
    std::unique_ptr<ImportPatch> wait, deletion;
};

}  // namespace

TEST_F(HostileCommandLines, RemovalOfAPrinterNamedByNothing) {
    auto remove = dll.get<decltype(&OEMDeletePrinterDriver)>("OEMDeletePrinterDriver");
    ASSERT_TRUE(remove);
    int calls = 0;
    for (std::string line : CarelessLines()) {
        SCOPED_TRACE(testing::Message() << line.size() << " bytes: " << line.substr(0, 40));
        remove(nullptr, nullptr, &line[0], SW_SHOWNORMAL);
        ++calls;
        EXPECT_TRUE(ledger->Balanced());
    }
    remove(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
    ++calls;
    EXPECT_EQ(calls, g_waits) << "every call waits first";
    EXPECT_TRUE(g_driverDeletions.empty());
    EXPECT_TRUE(env.PrinterExists(printer));

    // A real printer's name with 10 KB after it is refused whole, not cut down to that name.
    std::string padded = Ansi(printer) + std::string(10 * 1024, ' ');
    remove(nullptr, nullptr, &padded[0], SW_SHOWNORMAL);
    EXPECT_TRUE(env.PrinterExists(printer));
    EXPECT_TRUE(g_driverDeletions.empty());

    // Named in the system code page (å ä ö above 127), the printer is found and removed.
    std::string exact = Ansi(printer);
    remove(nullptr, nullptr, &exact[0], SW_SHOWNORMAL);
    EXPECT_FALSE(env.PrinterExists(printer));
    ASSERT_EQ(1u, g_driverDeletions.size());
    EXPECT_EQ(env.DriverName(), g_driverDeletions[0]);
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileCommandLines, VendorSetupForAPrinterNamedByNothing) {
    auto setup = dll.get<decltype(&OEMStartVendorSetup)>("OEMStartVendorSetup");
    ASSERT_TRUE(setup);
    DialogRobot robot;  // a user who closes whatever opens
    for (std::string line : CarelessLines()) {
        SCOPED_TRACE(testing::Message() << line.size() << " bytes: " << line.substr(0, 40));
        setup(nullptr, nullptr, &line[0], SW_SHOWNORMAL);
        EXPECT_TRUE(ledger->Balanced());
    }
    setup(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
    std::string padded = std::string(10 * 1024, ' ') + "\"" + Ansi(printer) + "\"";
    setup(nullptr, nullptr, &padded[0], SW_SHOWNORMAL);
    EXPECT_EQ(0u, robot.Seen().size()) << "no dialog for a line that names no printer";

    // The real printer between quotes, in the system code page: its identification dialog opens.
    std::string quoted = "/setup \"" + Ansi(printer) + "\"";
    setup(nullptr, nullptr, &quoted[0], SW_SHOWNORMAL);
    EXPECT_EQ(1u, robot.Seen().size());
    EXPECT_EQ(0, g_waits) << "the setup entry does not wait";
    EXPECT_TRUE(ledger->Balanced());
}
