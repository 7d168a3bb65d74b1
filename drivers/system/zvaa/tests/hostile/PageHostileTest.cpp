// The maintenance page, shown by the driver-UI host in a real property sheet, over a damaged state key
// (every counter or each cartridge value of the wrong type or size), with a cartridge name in the
// driver INI far longer than a caption can hold, and with the cleaning file missing. The page paints
// what it can (a picture or none, a caption or the one it had), changes nothing in the key, and leaves
// nothing open once the sheet has closed.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "DriverUiHost.h"
#include "resources/ResourceIds.h"
#include "support/DialogRobot.h"
#include "support/GdiLedger.h"
#include "support/HandleLedger.h"
#include "support/PrinterEnvironment.h"

namespace {

using Value = std::pair<DWORD, std::string>;

std::map<std::wstring, Value> ReadKey(const std::wstring &path) {
    std::map<std::wstring, Value> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        WCHAR name[256];
        BYTE data[2048];
        DWORD chars = ARRAYSIZE(name), type = 0, bytes = sizeof data;
        if (RegEnumValueW(key, i, name, &chars, nullptr, &type, data, &bytes) != ERROR_SUCCESS) break;
        values[name] = {type, std::string(reinterpret_cast<char *>(data), bytes)};
    }
    RegCloseKey(key);
    return values;
}

void WriteValue(const std::wstring &path, const wchar_t *name, const Value &value) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE, &key));
    RegSetValueExW(key, name, 0, value.first, reinterpret_cast<const BYTE *>(value.second.data()),
                   static_cast<DWORD>(value.second.size()));
    RegCloseKey(key);
}

std::vector<Value> Damages() {
    const std::wstring text = L"550000000";
    return {{REG_BINARY, std::string()},
            {REG_BINARY, std::string("\x07\x00\x00", 3)},
            {REG_BINARY, std::string("\x03\x00\x00\x00\x07", 5)},
            {REG_BINARY, std::string(1000, '\x05')},
            {REG_SZ, std::string(reinterpret_cast<const char *>(text.c_str()), (text.size() + 1) * 2)}};
}

const wchar_t *const kCounters[] = {L"LevelK", L"LevelK2", L"LevelC", L"LevelC2", L"LevelM", L"LevelM2",
                                    L"LevelY", L"LevelY2", L"LevelPhotoK", L"LevelPhotoC", L"LevelPhotoM"};

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
        ASSERT_EQ(24u, ReadKey(path).size());
        ledger.reset(new HandleLedger(host.Module()));
        ledger->TrackCrtBlocks();
        TrackGdiObjects(*ledger);
    }
    void TearDown() override { ledger.reset(); }

    // Shows the page; `look` runs on it once painted (and may queue actions for dialogs it opens), then
    // the sheet is cancelled. The key must hold afterwards what it held before, and the library nothing
    // open.
    void ShowPage(const std::function<void(HWND page, DialogRobot &robot)> &look) {
        const auto before = ReadKey(path);
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
        EXPECT_EQ(before, ReadKey(path)) << "painting changed the state key";
        EXPECT_TRUE(ledger->Balanced());
    }

    PrinterEnvironment env;
    DriverUiHost host;
    std::wstring printer, path;
    std::unique_ptr<HandleLedger> ledger;
};

}  // namespace

TEST_F(HostilePage, CountersOfTheWrongTypeOrSize) {
    for (const Value &damage : Damages()) {
        SCOPED_TRACE(testing::Message() << "type " << damage.first << ", " << damage.second.size() << " bytes");
        for (const wchar_t *counter : kCounters) WriteValue(path, counter, damage);
        ShowPage([&](HWND page, DialogRobot &) {
            // The pair is readable: both captions name their cartridges whatever the counters hold.
            EXPECT_NE(L"Vänster typ", TextOf(page, IDC_LEFT_TYPE));
            EXPECT_NE(L"Höger typ", TextOf(page, IDC_RIGHT_TYPE));
        });
    }
}

TEST_F(HostilePage, CartridgeTypesOfTheWrongTypeOrSize) {
    for (const wchar_t *holder : {L"CartLeft", L"CartRight"}) {
        const Value installed = ReadKey(path).at(holder);
        for (const Value &damage : Damages()) {
            SCOPED_TRACE(testing::Message() << holder << ": type " << damage.first << ", " << damage.second.size()
                                            << " bytes");
            WriteValue(path, holder, damage);
            ShowPage([&](HWND page, DialogRobot &) {
                EXPECT_FALSE(TextOf(page, IDC_LEFT_TYPE).empty());
                EXPECT_FALSE(TextOf(page, IDC_RIGHT_TYPE).empty());
            });
        }
        WriteValue(path, holder, installed);
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
