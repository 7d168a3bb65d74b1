// The maintenance page, shown by the driver-UI host in a real property sheet, over a damaged state key
// (every counter or each cartridge value of the wrong type or size), with a cartridge name in the
// driver INI far longer than a caption can hold, and with the cleaning file missing. The page paints
// what it can (a picture or none, a caption or the one it had), changes nothing in the key, and leaves
// nothing open once the sheet has closed.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DriverUiHost.h"
#include "hostile/StateKeyValues.h"
#include "resources/ResourceIds.h"
#include "testbed/DialogRobot.h"
#include "testbed/InkCounterNames.h"
#include "support/GdiLedger.h"
#include "support/HandleLedger.h"
#include "testbed/PrinterEnvironment.h"

namespace {

std::wstring TextOf(HWND page, int id) {
    WCHAR text[1024] = {};
    GetDlgItemTextW(page, id, text, ARRAYSIZE(text));
    return text;
}

class HostilePage : public testing::Test {
protected:
    void SetUp() override {
        printer = env.AddTestPrinter();
        ASSERT_FALSE(printer.empty());
        ASSERT_TRUE(host.Ok());
        ASSERT_EQ(S_OK, host.NotifyPrinterInstalled(printer));
        path = PrinterEnvironment::StateKeyPath(env.FriendlyNameOf(printer));
        ASSERT_EQ(24u, ReadStateKey(path).size());
        ledger.reset(new HandleLedger(host.Module()));
        ledger->TrackCrtBlocks();
        TrackGdiObjects(*ledger);
    }
    void TearDown() override { ledger.reset(); }

    // Shows the page; `look` runs on it once painted (and may queue actions for dialogs it opens), then
    // the sheet is cancelled. The key must hold afterwards what it held before, and the library nothing
    // open.
    void ShowPage(const std::function<void(HWND page, DialogRobot &robot)> &look) {
        const auto before = ReadStateKey(path);
        ledger->Reset();
        DialogRobot robot;
        bool shown = false;
        robot.Next([&](DialogView &sheet) {
            shown = true;
            HWND page = PropSheet_GetCurrentPageHwnd(sheet.Handle());
            RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            look(page, robot);
            sheet.Press(IDCANCEL);
        });
        const PropertiesRun run = host.ShowPrinterProperties(printer);
        EXPECT_TRUE(shown);
        EXPECT_EQ(1, run.pagesAdded);
        EXPECT_EQ(0u, robot.Pending());
        EXPECT_EQ(0u, robot.Unexpected());
        EXPECT_EQ(before, ReadStateKey(path)) << "painting changed the state key";
        EXPECT_TRUE(ledger->Balanced());
    }

    PrinterEnvironment env;
    DriverUiHost host;
    std::wstring printer, path;
    std::unique_ptr<HandleLedger> ledger;
};

}  // namespace

TEST_F(HostilePage, CountersOfTheWrongTypeOrSize) {
    for (const StateValue &damage : DamagedStateValues()) {
        SCOPED_TRACE(testing::Message() << "type " << damage.first << ", " << damage.second.size() << " bytes");
        for (const wchar_t *counter : kInkCounterNames) WriteStateValue(path, counter, damage);
        ShowPage([&](HWND page, DialogRobot &) {
            // The pair is readable: both captions name their cartridges whatever the counters hold.
            EXPECT_NE(L"Vänster typ", TextOf(page, IDC_LEFT_TYPE));
            EXPECT_NE(L"Höger typ", TextOf(page, IDC_RIGHT_TYPE));
        });
    }
}

TEST_F(HostilePage, CartridgeTypesOfTheWrongTypeOrSize) {
    for (const wchar_t *holder : {L"CartLeft", L"CartRight"}) {
        const StateValue installed = ReadStateKey(path).at(holder);
        for (const StateValue &damage : DamagedStateValues()) {
            SCOPED_TRACE(testing::Message() << holder << ": type " << damage.first << ", " << damage.second.size()
                                            << " bytes");
            WriteStateValue(path, holder, damage);
            ShowPage([&](HWND page, DialogRobot &) {
                EXPECT_FALSE(TextOf(page, IDC_LEFT_TYPE).empty());
                EXPECT_FALSE(TextOf(page, IDC_RIGHT_TYPE).empty());
            });
        }
        WriteStateValue(path, holder, installed);
    }
}

TEST_F(HostilePage, ACartridgeNameLongerThanACaption) {
    env.WriteOwnDriverIni(L"CART_STD=" + std::wstring(100000, L'å') + L"\n");
    ShowPage([&](HWND page, DialogRobot &) {
        const std::wstring caption = TextOf(page, IDC_LEFT_TYPE);
        EXPECT_EQ(259u, caption.size()) << "cut to the caption buffer";
        EXPECT_EQ(std::wstring(259, L'å'), caption);
    });
}

TEST_F(HostilePage, AMissingCleaningFileIsRetriedThenGivenUp) {
    env.LockShared();  // no other test's print files while this one looks for none
    std::vector<std::wstring> prompts;
    ShowPage([&](HWND page, DialogRobot &robot) {
        robot.Next([&](DialogView &d) {
            prompts.push_back(d.MessageText());
            d.Press(IDRETRY);
        });
        robot.Next([&](DialogView &d) {
            prompts.push_back(d.MessageText());
            d.Press(IDCANCEL);
        });
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_CLEAN_NOZZLES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_CLEAN_NOZZLES)));
    });
    ASSERT_EQ(2u, prompts.size());
    EXPECT_EQ(L"Fel vid rensning av munstycken", prompts[0]);
    EXPECT_TRUE(env.ReadPortBytes(printer).empty()) << "nothing reached the printer";
}
