// The dialog conventions every dialog shares, driven through the test robot on real templates; this
// also proves the robot itself (reading, choosing, typing, pressing, Esc, close box, message boxes,
// nested dialogs, screenshots) before the wizard dialogs rely on it.
#include <gtest/gtest.h>

#include <string>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "testbed/DialogRobot.h"
#include "testbed/PngFile.h"
#include "ui/DialogConventions.h"
#include "ui/WizardHeader.h"

namespace {

const wchar_t kPrinter[] = L"Bläckskrivare Ö1";

// What a plain wizard dialog does with the shared pieces; the second command of control 1 in the
// nested case opens a message box before ending.
bool g_askBeforeEnding = false;
bool g_slowStart = false;
int g_answer = 0;

INT_PTR CALLBACK ConventionalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        BeginDialog(dialog, lParam);  // activates the dialog before it is shown
        if (g_slowStart) Sleep(60);
        return TRUE;
    case WM_COMMAND:
        if (g_askBeforeEnding && LOWORD(wParam) == IDOK) {
            WCHAR name[kTextChars];
            GetDialogPrinterName(dialog, name);
            g_answer = MessageBoxW(dialog, L"Fortsätta?", name, MB_RETRYCANCEL);
        }
        return EndOnStandardButton(dialog, wParam);
    case WM_DRAWITEM:
        return WizardHeader(dialog, reinterpret_cast<DRAWITEMSTRUCT *>(lParam), IDB_HEADER_PRINTER,
                            HeaderStrings::kCartridgeInstall);
    }
    return FALSE;
}

INT_PTR RunDialog(UINT templateId, HWND owner = nullptr) {
    return DialogBoxParamW(Model().module, MAKEINTRESOURCEW(templateId), owner, ConventionalProc,
                           reinterpret_cast<LPARAM>(kPrinter));
}

class DialogRobotTest : public testing::Test {
protected:
    void SetUp() override {
        g_askBeforeEnding = false;
        g_slowStart = false;
        g_answer = 0;
    }
};

TEST_F(DialogRobotTest, ReadsTheOpenDialogAndPressesItsButtons) {
    DialogRobot robot;
    robot.Next([](DialogView &d) {
        EXPECT_EQ(kPrinter, d.Title());
        EXPECT_FALSE(d.IsMessageBox());
        EXPECT_TRUE(d.IsTopmost());
        EXPECT_EQ(100, d.WindowRect().left);
        EXPECT_EQ(100, d.WindowRect().top);
        EXPECT_EQ(L"Fortsätt >", d.Text(IDOK));
        EXPECT_EQ(L"Avbryt utskrift", d.Text(IDCANCEL));
        EXPECT_TRUE(d.IsVisible(IDC_LEFT_COMBO));
        ControlInfo combo = d.Control(IDC_LEFT_COMBO);
        EXPECT_EQ(L"ComboBox", combo.className);
        EXPECT_TRUE(combo.style & CBS_DROPDOWNLIST);
        // The dialog manager maps a control's position and its size each on their own.
        const RECT want = d.DialogUnitsToPixels(21, 124, 145, 14);
        const RECT size = d.DialogUnitsToPixels(0, 0, 145, 14);
        EXPECT_EQ(want.left, combo.rect.left);
        EXPECT_EQ(want.top, combo.rect.top);
        EXPECT_EQ(want.left + size.right, combo.rect.right);
        d.Press(IDOK);
    });
    robot.NextPress(IDCANCEL);

    EXPECT_EQ(IDOK, RunDialog(IDD_CARTRIDGE_INSTALL));
    EXPECT_EQ(IDCANCEL, RunDialog(IDD_CARTRIDGE_IDENTIFY));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    ASSERT_EQ(2u, robot.Seen().size());
    EXPECT_EQ(L"#32770", robot.Seen()[1].className);
}

TEST_F(DialogRobotTest, WaitsUntilASlowStartingDialogIsShown) {
    g_slowStart = true;
    DialogRobot robot;
    bool visible = false;
    robot.Next([&](DialogView &d) {
        visible = IsWindowVisible(d.Handle()) != FALSE;
        d.Press(IDOK);
    });
    EXPECT_EQ(IDOK, RunDialog(IDD_CARTRIDGE_INSTALL));
    EXPECT_TRUE(visible);
}

TEST_F(DialogRobotTest, EscAndTheCloseBoxGiveControlTwo) {
    DialogRobot robot;
    robot.Next([](DialogView &d) { d.PressEsc(); });
    robot.Next([](DialogView &d) { d.CloseBox(); });
    robot.Next([](DialogView &d) { d.CloseBox(); });  // dialog 150 has no control 2 at all
    EXPECT_EQ(IDCANCEL, RunDialog(IDD_ALIGN_PREP));
    EXPECT_EQ(IDCANCEL, RunDialog(IDD_MANUAL_FEED));
    EXPECT_EQ(IDCANCEL, RunDialog(IDD_SETUP_PROMPT));
    EXPECT_EQ(0u, robot.Pending());
}

TEST_F(DialogRobotTest, ChoosesChecksAndTypesAsAUserWould) {
    DialogRobot robot;
    robot.Next([](DialogView &d) {
        HWND combo = d.Item(IDC_RIGHT_COMBO);
        for (const wchar_t *text : {L"SVART", L"FOTO", L"Ingen bläckpatron"})
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_TRUE(d.SelectComboText(IDC_RIGHT_COMBO, L"FOTO"));
        EXPECT_EQ(1, d.ComboSelection(IDC_RIGHT_COMBO));
        EXPECT_EQ(3u, d.ComboItems(IDC_RIGHT_COMBO).size());
        EXPECT_FALSE(d.SelectComboText(IDC_RIGHT_COMBO, L"finns inte"));

        d.Check(IDC_RIGHT_NEW);
        EXPECT_TRUE(d.IsChecked(IDC_RIGHT_NEW));
        d.Check(IDC_RIGHT_USED);
        EXPECT_TRUE(d.IsChecked(IDC_RIGHT_USED));
        EXPECT_FALSE(d.IsChecked(IDC_RIGHT_NEW)) << "one group: checking one clears the other";
        EXPECT_FALSE(d.IsChecked(IDC_LEFT_USED)) << "the left holder is a group of its own";
        d.Press(IDOK);
    });
    robot.Next([](DialogView &d) {
        EXPECT_FALSE(d.IsVisible(IDC_EDIT_A)) << "value groups are hidden in the template";
        d.Type(IDC_EDIT_A, L"17");
        EXPECT_EQ(L"17", d.Text(IDC_EDIT_A));
        EXPECT_EQ(L"Exempel:", d.Text(IDC_LABEL_F));
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(IDOK, RunDialog(IDD_CARTRIDGE_IDENTIFY));
    EXPECT_EQ(IDCANCEL, RunDialog(IDD_ALIGNMENT));
    EXPECT_EQ(0u, robot.Pending());
}

TEST_F(DialogRobotTest, AnswersAMessageBoxOpenedInsideADialogCommand) {
    g_askBeforeEnding = true;
    DialogRobot robot;
    robot.NextPress(IDOK);
    robot.Next([](DialogView &box) {
        EXPECT_TRUE(box.IsMessageBox());
        EXPECT_EQ(L"Fortsätta?", box.MessageText());
        EXPECT_EQ(kPrinter, box.Title()) << "the dialog read its printer back from its title";
        EXPECT_TRUE(box.Has(IDRETRY));
        EXPECT_TRUE(box.Has(IDCANCEL));
        box.Press(IDRETRY);
    });
    EXPECT_EQ(IDOK, RunDialog(IDD_BANNER));
    EXPECT_EQ(IDRETRY, g_answer);
    EXPECT_EQ(0u, robot.Pending());
}

TEST_F(DialogRobotTest, CancelsAndCountsADialogNobodyExpected) {
    DialogRobot robot;
    EXPECT_EQ(IDCANCEL, MessageBoxW(nullptr, L"Oväntad", L"Fel", MB_OKCANCEL));
    EXPECT_EQ(1u, robot.Unexpected());
    ASSERT_EQ(1u, robot.Seen().size());
    EXPECT_EQ(L"Oväntad", robot.Seen()[0].messageText);
}

TEST_F(DialogRobotTest, AnOwnedDialogStaysWhereThePlatformPutsIt) {
    DialogRobot robot;
    HWND owner = CreateWindowExW(0, L"STATIC", L"ägare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 400, 300,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    robot.Next([owner](DialogView &d) {
        EXPECT_EQ(owner, d.Owner());
        EXPECT_FALSE(d.IsTopmost());
        EXPECT_NE(100, d.WindowRect().left);
        d.Press(IDOK);
    });
    EXPECT_EQ(IDOK, RunDialog(IDD_BANNER, owner));
    DestroyWindow(owner);
    EXPECT_EQ(0u, robot.Pending());
}

TEST_F(DialogRobotTest, SavesAScreenshotOfTheDialog) {
    WCHAR dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"robot-shot.png";
    DeleteFileW(path.c_str());
    DialogRobot robot;
    RECT window = {};
    robot.Next([&](DialogView &d) {
        window = d.WindowRect();
        EXPECT_TRUE(d.SaveScreenshot(path));
        d.Press(IDOK);
    });
    EXPECT_EQ(IDOK, RunDialog(IDD_SETUP_PROMPT));

    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    unsigned char head[24] = {};
    DWORD got = 0;
    ReadFile(file, head, sizeof head, &got, nullptr);
    CloseHandle(file);
    DeleteFileW(path.c_str());
    ASSERT_EQ(sizeof head, got);
    EXPECT_EQ(0, memcmp(head, "\x89PNG\r\n\x1a\n", 8));
    const long width = (head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19];
    const long height = (head[20] << 24) | (head[21] << 16) | (head[22] << 8) | head[23];
    EXPECT_EQ(window.right - window.left, width);
    EXPECT_EQ(window.bottom - window.top, height);
}

}  // namespace
