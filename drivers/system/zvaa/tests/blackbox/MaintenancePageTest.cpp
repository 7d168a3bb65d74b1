// The maintenance page as the printer's properties show it: the plug-in loaded by the driver-UI host,
// the page made by the plug-in's DevicePropertySheets inside a real comctl32 property sheet, and a
// robot looking at it from the sheet's own message loop.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "DriverUiHost.h"
#include "resources/ResourceIds.h"
#include "testbed/RecordingBrowser.h"
#include "testbed/DialogRobot.h"
#include "testbed/ImportPatch.h"
#include "testbed/InkCounterNames.h"
#include "testbed/PngFile.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/StateKeyProbe.h"

namespace {

constexpr DWORD kFull[11] = {610000000, 1100000000, 550000000, 915000000, 550000000, 915000000,
                             550000000, 915000000,  231000000, 231000000, 231000000};
constexpr LONG kBlack = 1, kPhoto = 2, kColour = 3, kColourHigh = 5;

bool WriteStateValue(const std::wstring &printer, const wchar_t *name, DWORD type, DWORD value) {
    return WriteStateKeyValue(StateKeyPathOf(printer), name, type, &value, sizeof value);
}

// How the plug-in drew one holder's picture button: the id of the gauge bitmap of a set that matches
// the button's pixels, found by drawing each of the set's ten pictures over the pixels again (the
// right one changes nothing outside its green), or 0 when the button shows a single colour. The sets
// share equal-looking pictures (the empty gauge, the question mark), so the set is given.
enum class InkSet : UINT { kBlack = IDB_INK_BLACK_FIRST, kColour = IDB_INK_COLOUR_FIRST, kPhoto = IDB_INK_PHOTO_FIRST };

struct SeenPicture {
    UINT id = 0;
    size_t mismatches = 0;
};

SeenPicture IdentifyPicture(HMODULE dll, HWND button, InkSet set) {
    SeenPicture seen;
    RECT r;
    GetClientRect(button, &r);
    HDC dc = GetDC(button);
    const std::vector<uint8_t> shown = ReadRgbPixels(dc, 0, 0, r.right, r.bottom);
    bool uniform = true;
    for (size_t i = 3; i < shown.size() && uniform; ++i) uniform = shown[i] == shown[i % 3];
    if (uniform || shown.empty()) {
        ReleaseDC(button, dc);
        return seen;
    }
    seen.mismatches = static_cast<size_t>(-1);
    for (int step = 0; step < 10; ++step) {
        const UINT id = set == InkSet::kPhoto && step == 9 ? IDB_INK_COLOUR_FIRST + 9 : static_cast<UINT>(set) + step;
        HBITMAP picture = static_cast<HBITMAP>(LoadImageW(dll, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                                          LR_CREATEDIBSECTION));
        if (!picture) continue;
        BITMAP bm = {};
        GetObjectW(picture, sizeof bm, &bm);
        HDC source = CreateCompatibleDC(dc);
        HDC target = CreateCompatibleDC(dc);
        HBITMAP canvas = CreateCompatibleBitmap(dc, r.right, r.bottom);
        HGDIOBJ oldSource = SelectObject(source, picture);
        HGDIOBJ oldTarget = SelectObject(target, canvas);
        StretchBlt(target, 0, 0, r.right, r.bottom, source, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
        const std::vector<uint8_t> drawn = ReadRgbPixels(target, 0, 0, r.right, r.bottom);
        size_t mismatches = 0;
        for (size_t p = 0; p + 2 < drawn.size() && p + 2 < shown.size(); p += 3) {
            const bool key = drawn[p] == 0 && drawn[p + 1] == 255 && drawn[p + 2] == 0;
            if (!key && (drawn[p] != shown[p] || drawn[p + 1] != shown[p + 1] || drawn[p + 2] != shown[p + 2]))
                ++mismatches;
        }
        if (mismatches < seen.mismatches) seen = {id, mismatches};
        SelectObject(source, oldSource);
        SelectObject(target, oldTarget);
        DeleteObject(canvas);
        DeleteObject(picture);
        DeleteDC(source);
        DeleteDC(target);
    }
    ReleaseDC(button, dc);
    return seen;
}

std::wstring TextOf(HWND page, int id) {
    WCHAR text[260] = {};
    GetDlgItemTextW(page, id, text, ARRAYSIZE(text));
    return text;
}

std::wstring LoadText(HMODULE dll, UINT id) {
    WCHAR text[260] = {};
    LoadStringW(dll, id, text, ARRAYSIZE(text));
    return text;
}

class MaintenancePage : public testing::Test {
protected:
    void SetUp() override {
        m_printer = m_env.AddTestPrinter();
        ASSERT_FALSE(m_printer.empty());
        ASSERT_TRUE(m_host.Ok()) << std::string(m_host.Error().begin(), m_host.Error().end());
        ASSERT_EQ(S_OK, m_host.NotifyPrinterInstalled(m_printer));  // the state key as at installation
    }
    void TearDown() override {
        const std::wstring root = L"Software\\Zelvorn\\", path = StateKeyPathOf(m_printer);
        if (path.size() > root.size()) PrinterEnvironment::DeleteStateKey(path.substr(root.size()));
    }

    void SetPair(LONG left, LONG right) {
        ASSERT_TRUE(WriteStateValue(m_printer, L"CartLeft", REG_BINARY, static_cast<DWORD>(left)));
        ASSERT_TRUE(WriteStateValue(m_printer, L"CartRight", REG_BINARY, static_cast<DWORD>(right)));
    }
    void SetLevels(const DWORD (&levels)[11]) {
        for (int i = 0; i < 11; ++i) ASSERT_TRUE(WriteStateValue(m_printer, kInkCounterNames[i], REG_DWORD, levels[i]));
    }

    // Shows the printer's properties; `look` runs on the page once the sheet is up, then the sheet
    // is cancelled.
    PropertiesRun ShowPage(const std::function<void(HWND sheet, HWND page)> &look) {
        DialogRobot robot;
        bool shown = false;
        robot.Next([&](DialogView &sheet) {
            shown = true;
            HWND page = PropSheet_GetCurrentPageHwnd(sheet.Handle());
            UpdateWindow(page);
            look(sheet.Handle(), page);
            sheet.Press(IDCANCEL);
        });
        PropertiesRun run = m_host.ShowPrinterProperties(m_printer);
        EXPECT_TRUE(shown);
        EXPECT_EQ(0u, robot.Unexpected());
        return run;
    }

    struct Pictures {
        SeenPicture left, right;
        std::wstring leftCaption, rightCaption;
    };
    Pictures Look(InkSet leftSet, InkSet rightSet) {
        Pictures seen;
        ShowPage([&](HWND, HWND page) {
            seen.left = IdentifyPicture(m_host.Module(), GetDlgItem(page, IDC_LEFT_INK), leftSet);
            seen.right = IdentifyPicture(m_host.Module(), GetDlgItem(page, IDC_RIGHT_INK), rightSet);
            seen.leftCaption = TextOf(page, IDC_LEFT_TYPE);
            seen.rightCaption = TextOf(page, IDC_RIGHT_TYPE);
        });
        return seen;
    }

    PrinterEnvironment m_env;
    DriverUiHost m_host;
    std::wstring m_printer;
};

TEST_F(MaintenancePage, HostDrivesTheSheetInThePlatformsOrder) {
    const PropertiesRun run = ShowPage([&](HWND sheet, HWND page) {
        ASSERT_NE(nullptr, page);
        WCHAR title[300] = {};
        GetWindowTextW(sheet, title, ARRAYSIZE(title));
        EXPECT_NE(std::wstring::npos, std::wstring(title).find(m_printer));
        EXPECT_EQ(m_printer, TextOf(page, IDC_LEFT_INK));  // the page keeps the printer name there
        EXPECT_EQ(L"&Installera/Byta bl\u00E4ckpatron", TextOf(page, IDC_INSTALL_CARTRIDGE));
    });
    // The platform's sheet library calls the plug-in as a child: INIT, where it adds its page, and
    // after the sheet is closed (cancelled here) DESTROY with a nonzero lParam.
    ASSERT_EQ(2u, run.calls.size());
    EXPECT_EQ(PROPSHEETUI_REASON_INIT, run.calls[0].reason);
    EXPECT_EQ(PROPSHEETUI_REASON_DESTROY, run.calls[1].reason);
    EXPECT_NE(0, run.calls[1].lParam);
    for (const SheetCall &call : run.calls) EXPECT_EQ(S_OK, call.hr);
    EXPECT_EQ(1, run.pagesAdded);
    EXPECT_EQ(std::vector<UINT>{CPSFUNC_ADD_PROPSHEETPAGEW}, run.sheetFunctions);
    EXPECT_NE(0u, run.calls[0].result);  // the page handle the sheet gave back
    EXPECT_EQ(m_printer, run.userData);
    EXPECT_EQ(1u, run.calls[1].result);
    EXPECT_EQ(CPSUI_CANCEL, run.sheetResult);

    // A driver that asks the plug-in for its sheet's header (as a top-level callback) gets its title.
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
    PROPSHEETUI_INFO_HEADER header = {};
    EXPECT_EQ(S_OK, m_host.Plugin()->DevicePropertySheets(&info, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(L"OEM UI Page", std::wstring(header.pTitle ? header.pTitle : L""));
}

TEST_F(MaintenancePage, FullCartridgesShowFullGaugesAndTheirNames) {
    SetPair(kColour, kBlack);
    SetLevels(kFull);
    const Pictures seen = Look(InkSet::kColour, InkSet::kBlack);
    EXPECT_EQ(IDB_INK_COLOUR_FIRST + 8u, seen.left.id);
    EXPECT_EQ(IDB_INK_BLACK_FIRST + 8u, seen.right.id);
    EXPECT_EQ(0u, seen.left.mismatches);
    EXPECT_EQ(0u, seen.right.mismatches);
    EXPECT_EQ(LoadText(m_host.Module(), IDS_CART_COLOUR), seen.leftCaption);
    EXPECT_EQ(LoadText(m_host.Module(), IDS_CART_BLACK), seen.rightCaption);
}

TEST_F(MaintenancePage, EmptyAndSixteenthLevelsAndTheSmallestOfThree) {
    SetPair(kColourHigh, kBlack);
    DWORD levels[11];
    std::copy(kFull, kFull + 11, levels);
    levels[0] = 610000000 / 16;  // LevelK at exactly one sixteenth: step 1
    levels[7] = 0;               // LevelY2 empty while LevelC2 and LevelM2 are full: step 0
    SetLevels(levels);
    const Pictures seen = Look(InkSet::kColour, InkSet::kBlack);
    EXPECT_EQ(IDB_INK_COLOUR_FIRST + 0u, seen.left.id);
    EXPECT_EQ(IDB_INK_BLACK_FIRST + 1u, seen.right.id);
}

TEST_F(MaintenancePage, PhotoAboveCapacityShowsTheColourSetsQuestionMark) {
    SetPair(kColour, kPhoto);
    DWORD levels[11];
    std::copy(kFull, kFull + 11, levels);
    levels[8] = levels[9] = levels[10] = 231000000 / 16 * 17;
    SetLevels(levels);
    const Pictures seen = Look(InkSet::kColour, InkSet::kPhoto);
    EXPECT_EQ(138u, seen.right.id);
    EXPECT_EQ(0u, seen.right.mismatches);
    EXPECT_EQ(LoadText(m_host.Module(), IDS_CART_PHOTO), seen.rightCaption);
}

TEST_F(MaintenancePage, NoCartridgeHasNoPictureAndSaysSo) {
    SetPair(0, kBlack);
    SetLevels(kFull);
    const Pictures seen = Look(InkSet::kColour, InkSet::kBlack);
    EXPECT_EQ(0u, seen.left.id);
    EXPECT_EQ(L"Ingen bl\u00E4ckpatron", seen.leftCaption);
    EXPECT_EQ(IDB_INK_BLACK_FIRST + 8u, seen.right.id);
}

TEST_F(MaintenancePage, CaptionComesFromTheDriverIni) {
    m_env.WriteOwnDriverIni(L"CART_STD=Egen f\u00E4rgpatron 42\n");
    SetPair(kColour, kBlack);
    SetLevels(kFull);
    const Pictures seen = Look(InkSet::kColour, InkSet::kBlack);
    EXPECT_EQ(L"Egen f\u00E4rgpatron 42", seen.leftCaption);
    EXPECT_EQ(LoadText(m_host.Module(), IDS_CART_BLACK), seen.rightCaption);  // no CART_BLK: the string table
}

TEST_F(MaintenancePage, RepaintsWithTheNewPairAfterTheInstallDialog) {
    SetPair(kColour, kBlack);
    DWORD levels[11];
    std::copy(kFull, kFull + 11, levels);
    levels[0] = 610000000 / 2;  // black at half
    SetLevels(levels);

    Pictures before, after;
    DialogRobot robot;
    robot.Next([&](DialogView &sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet.Handle());
        UpdateWindow(page);
        before.right = IdentifyPicture(m_host.Module(), GetDlgItem(page, IDC_RIGHT_INK), InkSet::kBlack);
        before.rightCaption = TextOf(page, IDC_RIGHT_TYPE);
        robot.Next([&](DialogView &install) {
            EXPECT_EQ(m_printer, install.Title());
            install.SelectComboIndex(IDC_LEFT_COMBO, 0);   // colour
            install.SelectComboIndex(IDC_RIGHT_COMBO, 2);  // photo, new: refilled
            install.Press(IDOK);
        });
        robot.Next([&](DialogView &prep) { prep.Press(IDCANCEL); });  // no alignment print
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_INSTALL_CARTRIDGE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_INSTALL_CARTRIDGE)));
        // No further paint is asked for: the page must already show the new state.
        after.right = IdentifyPicture(m_host.Module(), GetDlgItem(page, IDC_RIGHT_INK), InkSet::kPhoto);
        after.rightCaption = TextOf(page, IDC_RIGHT_TYPE);
        sheet.Press(IDCANCEL);
    });
    m_host.ShowPrinterProperties(m_printer);
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());

    EXPECT_EQ(IDB_INK_BLACK_FIRST + 4u, before.right.id);
    EXPECT_EQ(LoadText(m_host.Module(), IDS_CART_BLACK), before.rightCaption);
    EXPECT_EQ(IDB_INK_PHOTO_FIRST + 8u, after.right.id);
    EXPECT_EQ(LoadText(m_host.Module(), IDS_CART_PHOTO), after.rightCaption);
}

// A printer reached through another machine: the spooler's record names a server.
decltype(&GetPrinterW) g_realGetPrinter = nullptr;
BOOL WINAPI GetPrinterOfServer(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    const BOOL ok = g_realGetPrinter(printer, level, buffer, size, needed);
    if (ok && level == 2 && buffer)
        reinterpret_cast<PRINTER_INFO_2W *>(buffer)->pServerName = const_cast<LPWSTR>(L"\\\\skrivarserver");
    return ok;
}

TEST_F(MaintenancePage, NoPageForAPrinterOnAnotherMachine) {
    ImportPatch patch(m_host.Module(), "winspool.drv", "GetPrinterW", reinterpret_cast<const void *>(&GetPrinterOfServer));
    ASSERT_NE(0u, patch.slots());
    g_realGetPrinter = patch.original<decltype(&GetPrinterW)>();
    DialogRobot robot;  // any sheet that opened would be cancelled and counted
    const PropertiesRun run = m_host.ShowPrinterProperties(m_printer);
    EXPECT_EQ(0, run.pagesAdded);
    EXPECT_TRUE(run.sheetFunctions.empty());
    ASSERT_FALSE(run.calls.empty());
    EXPECT_EQ(S_OK, run.calls[0].hr);
    EXPECT_EQ(0u, robot.Seen().size());
}

// The order-supplies button with a browser registered under both known names.
class OrderSuppliesButton : public MaintenancePage {
protected:
    void SetUp() override {
        MaintenancePage::SetUp();
        m_env.LockShared();  // the browser registrations are machine-wide
        ASSERT_TRUE(m_browser.Register(m_env.ScratchDir(), L"", L" %1"));
    }
    void TearDown() override {
        m_browser.Unregister();  // while the shared lock is still held
        MaintenancePage::TearDown();
    }
    RecordingBrowser m_browser;
};

TEST_F(OrderSuppliesButton, StartsThePreferredBrowserAtTheDriversAddress) {
    m_env.WriteOwnDriverIni(L"ORDER_URL=http://zelvorn.test/best\u00E4ll?modell=zvaa\n");
    bool enabled = false;
    ShowPage([&](HWND, HWND page) {
        enabled = IsWindowEnabled(GetDlgItem(page, IDC_ORDER_SUPPLIES)) != FALSE;
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_ORDER_SUPPLIES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_ORDER_SUPPLIES)));
    });
    EXPECT_TRUE(enabled);
    // The path goes unquoted before the address, as the command line is built.
    EXPECT_EQ(m_browser.Program() + L" http://zelvorn.test/best\u00E4ll?modell=zvaa", m_browser.WaitForRecord());
}

// The address arrives as one argument, quoted when it has blanks (a trailing backslash doubled so that
// it does not swallow the closing quote); with a double quote or a control character in it, no
// browser starts at all.
TEST_F(OrderSuppliesButton, TheAddressIsOneArgumentOrNoBrowserStarts) {
    const struct {
        std::wstring address, argument;
    } cases[] = {
        {L"http://zelvorn.test/a b --load-extension=C:\\x", L"\"http://zelvorn.test/a b --load-extension=C:\\x\""},
        {L"http://zelvorn.test/s\u00F6k mapp\\", L"\"http://zelvorn.test/s\u00F6k mapp\\\\\""},
        {L"http://zelvorn.test/\" --load-extension=x", L""},
        {L"http://zelvorn.test/a\tb", L""},
        {L"http://zelvorn.test/a\x01--b", L""},
    };
    std::wstring ini;
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "address " << std::string(c.address.begin(), c.address.end()));
        if (!ini.empty()) DeleteFileW(ini.c_str());
        ini = m_env.WriteOwnDriverIni(L"ORDER_URL=" + c.address + L"\n");
        DeleteFileW(m_browser.RecordPath().c_str());
        ShowPage([&](HWND, HWND page) {
            SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_ORDER_SUPPLIES, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_ORDER_SUPPLIES)));
        });
        if (c.argument.empty()) {
            Sleep(300);
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(m_browser.RecordPath().c_str()));
        } else {
            EXPECT_EQ(m_browser.Program() + L" " + c.argument, m_browser.WaitForRecord());
        }
    }
}

TEST_F(OrderSuppliesButton, WithoutAnAddressNoBrowserStarts) {
    ShowPage([&](HWND, HWND page) {
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_ORDER_SUPPLIES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_ORDER_SUPPLIES)));
    });
    Sleep(300);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(m_browser.RecordPath().c_str()));
}

// A browser in a folder whose name has a blank, and a program planted at the blank, where a search for
// an unquoted command line looks first.
class OrderSuppliesPlantedProgram : public MaintenancePage {
protected:
    void SetUp() override {
        MaintenancePage::SetUp();
        m_env.LockShared();  // the browser registration is machine-wide
        m_folder = m_env.ScratchDir() + L"Browser Dir";
        ASSERT_TRUE(CreateDirectoryW(m_folder.c_str(), nullptr));
    }
    void TearDown() override {
        m_browser.Unregister();
        RemoveDirectoryW(m_folder.c_str());
        MaintenancePage::TearDown();
    }
    RecordingBrowser m_browser;
    std::wstring m_folder;
};

TEST_F(OrderSuppliesPlantedProgram, StartsExactlyTheRegisteredBrowser) {
    const std::wstring browser = m_folder + L"\\b.exe";
    ASSERT_TRUE(m_browser.PlantCopyAt(m_env.ScratchDir() + L"Browser.exe"));
    ASSERT_TRUE(m_browser.RegisterCopyAt(browser, m_env.ScratchDir(), L"", L" %1"));
    m_env.WriteOwnDriverIni(L"ORDER_URL=http://zelvorn.test/supplies\n");
    ShowPage([&](HWND, HWND page) {
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_ORDER_SUPPLIES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_ORDER_SUPPLIES)));
    });
    EXPECT_EQ(L"\"" + browser + L"\" http://zelvorn.test/supplies", m_browser.WaitForRecord());
    EXPECT_EQ(browser, m_browser.RecordedProgram()) << "the planted program ran";
}

}  // namespace
