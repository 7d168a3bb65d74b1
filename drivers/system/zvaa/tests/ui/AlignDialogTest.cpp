// The alignment dialogs 151 and 104 on real windows, against Wine's registry.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "resources/ResourceIds.h"
#include "testbed/ImportPatch.h"
#include "ui/AlignDialog.h"
#include "ui/AlignPrepDialog.h"
#include "ui/WizardDialog.h"
#include "ui/WizardTestPrinter.h"

namespace {

const int kEdits[] = {IDC_EDIT_A, IDC_EDIT_B, IDC_EDIT_C, IDC_EDIT_D, IDC_EDIT_E, IDC_EDIT_F};
const int kSpins[] = {IDC_SPIN_A, IDC_SPIN_B, IDC_SPIN_C, IDC_SPIN_D, IDC_SPIN_E, IDC_SPIN_F};
const int kGroupControls[6][5] = {
    {IDC_GROUP_A, IDC_LABEL_A, IDC_EDIT_A, IDC_SPIN_A, IDC_EXAMPLE_A},
    {IDC_GROUP_B, IDC_LABEL_B, IDC_EDIT_B, IDC_SPIN_B, IDC_EXAMPLE_B},
    {IDC_GROUP_C, IDC_LABEL_C, IDC_EDIT_C, IDC_SPIN_C, IDC_EXAMPLE_C},
    {IDC_GROUP_D, IDC_LABEL_D, IDC_EDIT_D, IDC_SPIN_D, IDC_EXAMPLE_D},
    {IDC_GROUP_E, IDC_LABEL_E, IDC_EDIT_E, IDC_SPIN_E, IDC_EXAMPLE_E},
    {IDC_GROUP_F, IDC_LABEL_F, IDC_EDIT_F, IDC_SPIN_F, IDC_EXAMPLE_F},
};

class AlignDialogs : public WizardTestPrinter {
protected:
    // Runs dialog 104 for the test printer, with the robot's action for it.
    INT_PTR RunAlignDialog(std::function<void(DialogView &)> action, HWND owner = nullptr) {
        DialogRobot robot;
        robot.Next(std::move(action));
        const INT_PTR result = RunWizardDialog(IDD_ALIGNMENT, owner, AlignDialogProc, m_printer.c_str());
        EXPECT_EQ(0u, robot.Pending());
        EXPECT_EQ(0u, robot.Unexpected());
        return result;
    }
    void Pair(LONG left, LONG right) {
        ASSERT_TRUE(State().SetBinary(L"CartLeft", left));
        ASSERT_TRUE(State().SetBinary(L"CartRight", right));
    }
    // Through the procedure itself: a dialog's answer to WM_VSCROLL does not come back through
    // SendMessage.
    static INT_PTR Spin(DialogView &d, int group, WPARAM request) {
        return AlignDialogProc(d.Handle(), WM_VSCROLL, request, reinterpret_cast<LPARAM>(d.Item(kSpins[group])));
    }
};

TEST_F(AlignDialogs, ShowsTheGroupsAndValuesOfTheStoredPair) {
    const struct {
        LONG left, right;
        int groups;
    } cases[] = {
        {kCartNone, kCartBlack, 1},      // black only
        {kCartColour, kCartNone, 1},     // colour only
        {kCartColour, kCartBlack, 6},    // black + colour
        {kCartColourHigh, kCartPhoto, 4},  // colour + photo
        {kCartPhoto, kCartPhoto, 1},     // no valid pair: one group, bounds 0 to 0
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << "," << c.right);
        Pair(c.left, c.right);
        EXPECT_EQ(IDCANCEL, RunAlignDialog([&](DialogView &d) {
            EXPECT_EQ(m_printer, d.Title());
            EXPECT_TRUE(d.IsTopmost());
            EXPECT_EQ(POINT({100, 100}), Corner(d));
            for (int g = 0; g < 6; ++g)
                for (int id : kGroupControls[g]) EXPECT_EQ(g < c.groups, d.IsVisible(id)) << id;
            d.Press(IDCANCEL);
        }));
    }
}

TEST_F(AlignDialogs, EditsStartWithTheStoredValuesWithinTheirBounds) {
    ASSERT_TRUE(State().SetBinary(L"AlignCMYK_0", 3));
    ASSERT_TRUE(State().SetBinary(L"AlignCMYK_1", 40));  // beyond B's 15
    ASSERT_TRUE(State().SetBinary(L"AlignCMYK_2", -5));
    ASSERT_TRUE(State().Remove(L"AlignCMYK_5"));         // unreadable: the model's default, 17
    RunAlignDialog([&](DialogView &d) {
        EXPECT_EQ(L"3", d.Text(IDC_EDIT_A));
        EXPECT_EQ(L"15", d.Text(IDC_EDIT_B));
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_C));
        EXPECT_EQ(L"17", d.Text(IDC_EDIT_D));
        EXPECT_EQ(L"17", d.Text(IDC_EDIT_F));
        // Edit A is selected whole, ready to be typed over.
        DWORD start = 1, end = 0;
        SendMessageW(d.Item(IDC_EDIT_A), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(0u, start);
        EXPECT_EQ(1u, end);
        EXPECT_EQ(2, SendMessageW(d.Item(IDC_EDIT_A), EM_GETLIMITTEXT, 0, 0));
        d.Press(IDCANCEL);
    });
    // Cancel stores nothing.
    EXPECT_EQ(40, State().Get(L"AlignCMYK_1"));
    EXPECT_EQ(-12345, State().Get(L"AlignCMYK_5"));
}

TEST_F(AlignDialogs, TypedTextIsCorrectedAndOkStoresTheValues) {
    EXPECT_EQ(IDOK, RunAlignDialog([&](DialogView &d) {
        d.Type(IDC_EDIT_A, L"7x");
        d.Type(IDC_EDIT_B, L"99");
        d.Type(IDC_EDIT_C, L"-");
        d.Type(IDC_EDIT_D, L"05");
        d.Type(IDC_EDIT_E, L"");
        d.Type(IDC_EDIT_F, L"00");
        EXPECT_EQ(L"7x", d.Text(IDC_EDIT_A));
        EXPECT_EQ(L"15", d.Text(IDC_EDIT_B));
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_C));
        EXPECT_EQ(L"05", d.Text(IDC_EDIT_D));
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_E));
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_F));
        d.Type(IDC_EDIT_F, L"99");
        EXPECT_EQ(L"30", d.Text(IDC_EDIT_F));
        d.Press(IDOK);
    }));
    const LONG expected[] = {7, 15, 0, 5, 0, 30};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(expected[i], State().Get((L"AlignCMYK_" + std::to_wstring(i)).c_str())) << i;
    EXPECT_EQ(0, State().Get(L"AlignNeed"));
    // The other combination's values stay as they were.
    EXPECT_EQ(6, State().Get(L"AlignCMYKcm_1"));
}

LSTATUS WINAPI WriteRefused(HKEY, LPCWSTR, DWORD, DWORD, const BYTE *, DWORD) { return ERROR_ACCESS_DENIED; }

TEST_F(AlignDialogs, ValuesThatCannotBeStoredAreToldBeforeTheDialogEnds) {
    ImportPatch refuse(GetModuleHandleW(nullptr), "advapi32.dll", "RegSetValueExW",
                       reinterpret_cast<const void *>(&WriteRefused));
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        d.Type(IDC_EDIT_A, L"9");
        d.Press(IDOK);
    });
    robot.Next([&](DialogView &d) {
        EXPECT_TRUE(d.IsMessageBox());
        EXPECT_EQ(0u, d.MessageText().find(ModuleString(IDS_SETTINGS_NOT_SAVED)));
        d.Press(IDOK);
    });
    EXPECT_EQ(IDOK, RunWizardDialog(IDD_ALIGNMENT, nullptr, AlignDialogProc, m_printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    EXPECT_NE(9, State().Get(L"AlignCMYK_0"));
}

TEST_F(AlignDialogs, SpinArrowsStepWithinTheBoundsOfTheCombination) {
    RunAlignDialog([&](DialogView &d) {
        d.Type(IDC_EDIT_A, L"30");
        EXPECT_EQ(TRUE, Spin(d, 0, SB_LINEUP));
        EXPECT_EQ(L"30", d.Text(IDC_EDIT_A));
        EXPECT_EQ(TRUE, Spin(d, 0, SB_LINEDOWN));
        EXPECT_EQ(L"29", d.Text(IDC_EDIT_A));
        d.Type(IDC_EDIT_B, L"15");
        Spin(d, 1, SB_LINEUP);  // 16, which the validation takes back
        EXPECT_EQ(L"15", d.Text(IDC_EDIT_B));
        d.Type(IDC_EDIT_C, L"0");
        Spin(d, 2, SB_LINEDOWN);
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_C));
        Spin(d, 2, SB_LINEUP);
        EXPECT_EQ(L"1", d.Text(IDC_EDIT_C));
        // The thumb and the areas beside the arrows change nothing.
        EXPECT_EQ(FALSE, Spin(d, 3, MAKEWPARAM(SB_THUMBPOSITION, 5)));
        EXPECT_EQ(FALSE, Spin(d, 3, SB_PAGEUP));
        EXPECT_EQ(L"17", d.Text(IDC_EDIT_D));
        // A scroll bar that is no spin of the dialog.
        EXPECT_EQ(FALSE, AlignDialogProc(d.Handle(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(d.Item(IDOK))));
        d.Press(IDOK);
    });
    EXPECT_EQ(29, State().Get(L"AlignCMYK_0"));
    EXPECT_EQ(15, State().Get(L"AlignCMYK_1"));
    EXPECT_EQ(1, State().Get(L"AlignCMYK_2"));
}

TEST_F(AlignDialogs, CancelEscAndTheCloseBoxClearAlignNeedAndStoreNothing) {
    const std::function<void(DialogView &)> ways[] = {
        [](DialogView &d) { d.Press(IDCANCEL); },
        [](DialogView &d) { d.PressEsc(); },
        [](DialogView &d) { d.CloseBox(); },
    };
    for (const auto &way : ways) {
        ASSERT_TRUE(State().SetBinary(L"AlignNeed", 1));
        EXPECT_EQ(IDCANCEL, RunAlignDialog([&](DialogView &d) {
            d.Type(IDC_EDIT_A, L"3");
            way(d);
        }));
        EXPECT_EQ(0, State().Get(L"AlignNeed"));
        EXPECT_EQ(17, State().Get(L"AlignCMYK_0"));
    }
}

TEST_F(AlignDialogs, BlackOnlyShowsAndStoresZeroWhateverIsTyped) {
    Pair(kCartNone, kCartBlack);
    ASSERT_TRUE(State().SetBinary(L"AlignNeed", 1));
    EXPECT_EQ(IDOK, RunAlignDialog([&](DialogView &d) {
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_A));  // nothing stored yet
        d.Type(IDC_EDIT_A, L"12");
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_A));
        Spin(d, 0, SB_LINEUP);
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_A));
        d.Press(IDOK);
    }));
    EXPECT_EQ(0, State().Get(L"AlignK_0"));
    EXPECT_EQ(0, State().Get(L"AlignNeed"));
}

TEST_F(AlignDialogs, AnInvalidPairAllowsOnlyZeroAndStoresUnderTheBlackOnlyName) {
    Pair(kCartPhoto, kCartPhoto);
    EXPECT_EQ(IDOK, RunAlignDialog([&](DialogView &d) {
        d.Type(IDC_EDIT_A, L"9");
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_A));
        Spin(d, 0, SB_LINEUP);
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_A));
        d.Press(IDOK);
    }));
    EXPECT_EQ(0, State().Get(L"AlignK_0"));
}

TEST_F(AlignDialogs, AnUnreadablePairCountsAsNoCartridgesAndTouchesNoOtherValues) {
    ASSERT_TRUE(State().Remove(L"CartRight"));
    EXPECT_EQ(IDOK, RunAlignDialog([&](DialogView &d) {
        EXPECT_TRUE(d.IsVisible(IDC_EDIT_A));
        EXPECT_FALSE(d.IsVisible(IDC_EDIT_B));
        EXPECT_EQ(L"0", d.Text(IDC_EDIT_A));
        d.Press(IDOK);
    }));
    EXPECT_EQ(0, State().Get(L"AlignK_0"));
    for (int i = 0; i < 6; ++i) EXPECT_NE(0, State().Get((L"AlignCMYK_" + std::to_wstring(i)).c_str())) << i;
}

// Draws button `id` through the dialog's procedure into a white 64 x 28 picture, once in full and then
// once for each focus state given (as the button asks when the focus comes and goes); the procedure's
// answer and the pixels.
std::pair<INT_PTR, std::vector<COLORREF>> DrawExample(DialogView &d, int id, std::vector<UINT> focusChanges = {},
                                                      DLGPROC procedure = AlignDialogProc) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 64, 28);
    HGDIOBJ previous = SelectObject(dc, target);
    RECT all = {0, 0, 64, 28};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(id);
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = d.Item(id);
    item.hDC = dc;
    item.rcItem = all;
    const INT_PTR result = procedure(d.Handle(), WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
    for (UINT state : focusChanges) {
        item.itemAction = ODA_FOCUS;
        item.itemState = state;
        procedure(d.Handle(), WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
    }
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 64; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, previous);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return {result, pixels};
}

// The pixels of a module bitmap stretched as the example buttons stretch it.
std::vector<COLORREF> PictureOf(UINT bitmapId) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen), source = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 64, 28);
    HBITMAP picture = LoadBitmapW(Model().module, MAKEINTRESOURCEW(bitmapId));
    BITMAP size = {};
    GetObjectW(picture, sizeof size, &size);
    HGDIOBJ previous = SelectObject(dc, target), previousSource = SelectObject(source, picture);
    StretchBlt(dc, 0, 0, 64, 28, source, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 64; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(source, previousSource);
    SelectObject(dc, previous);
    DeleteObject(picture);
    DeleteObject(target);
    DeleteDC(source);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

TEST_F(AlignDialogs, ExamplePicturesFollowThePair) {
    const std::vector<COLORREF> blank(PictureOf(IDB_ALIGN_EXAMPLE_A).size(), RGB(255, 255, 255));
    const std::vector<COLORREF> ground(blank.size(), GetSysColor(COLOR_BTNFACE));
    const struct {
        LONG left, right;
        UINT pictures[6];  // 0: nothing drawn; 156: the dialog's ground (the picture does not exist)
    } cases[] = {
        {kCartColour, kCartBlack, {106, 112, 109, 110, 111, 108}},
        {kCartColour, kCartPhoto, {106, 112, 111, 108, 0, 0}},
        {kCartColour, kCartNone, {156, 112, 109, 110, 111, 108}},
    };
    for (const auto &c : cases) {
        Pair(c.left, c.right);
        RunAlignDialog([&](DialogView &d) {
            for (int g = 0; g < 6; ++g) {
                SCOPED_TRACE(testing::Message() << c.left << "," << c.right << " example " << g);
                const auto drawn = DrawExample(d, IDC_EXAMPLE_A + g);
                EXPECT_EQ(TRUE, drawn.first);
                EXPECT_TRUE(drawn.second == (c.pictures[g] == 156 ? ground
                                             : c.pictures[g] ? PictureOf(c.pictures[g]) : blank));
            }
            // The focus comes to each example and leaves it again: no mark stays behind, whatever
            // the picture.
            for (int g = 0; g < 4; ++g) {
                SCOPED_TRACE(testing::Message() << c.left << "," << c.right << " focus on example " << g);
                const auto before = DrawExample(d, IDC_EXAMPLE_A + g);
                EXPECT_EQ(before.second, DrawExample(d, IDC_EXAMPLE_A + g, {ODS_FOCUS, 0}).second);
            }
            // Neither the ids around the examples nor other buttons are drawn by the dialog.
            EXPECT_EQ(FALSE, DrawExample(d, IDC_EXAMPLE_A - 1).first);
            EXPECT_EQ(FALSE, DrawExample(d, IDC_EXAMPLE_F + 1).first);
            EXPECT_EQ(TRUE, DrawExample(d, IDC_HEADER_ALIGN).first);
            d.Press(IDCANCEL);
        });
    }
}

TEST_F(AlignDialogs, PreparationCancelGivesTheAlignmentUp) {
    ASSERT_TRUE(State().SetBinary(L"AlignNeed", 1));
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        EXPECT_EQ(m_printer, d.Title());
        EXPECT_TRUE(d.IsTopmost());
        EXPECT_EQ(POINT({100, 100}), Corner(d));
        EXPECT_EQ(FALSE, AlignPrepDialogProc(d.Handle(), WM_COMMAND, MAKEWPARAM(IDC_HEADER_ALIGN_PREP, BN_CLICKED), 0));
        // The illustration leaves its green ground to the button's face.
        const auto drawn = DrawExample(d, IDC_ALIGN_PICTURE, {}, AlignPrepDialogProc);
        EXPECT_EQ(FALSE, drawn.first);
        EXPECT_EQ(RGB(255, 255, 255), drawn.second.front());
        EXPECT_EQ(TRUE, DrawExample(d, IDC_HEADER_ALIGN_PREP, {}, AlignPrepDialogProc).first);
        EXPECT_EQ(FALSE, DrawExample(d, IDOK, {}, AlignPrepDialogProc).first);
        EXPECT_NE(std::vector<COLORREF>(drawn.second.size(), RGB(255, 255, 255)), drawn.second);
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunWizardDialog(IDD_ALIGN_PREP, nullptr, AlignPrepDialogProc, m_printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0, State().Get(L"AlignNeed"));
}

TEST_F(AlignDialogs, APrintTheUserGivesUpOpensNoAlignmentDialog) {
    // No alignment page installed: the print fails and asks whether to try again.
    m_environment.LockShared();
    DeleteFileW((m_environment.DriverFilesDir() + L"zvaaalg4.out").c_str());
    ASSERT_TRUE(State().SetBinary(L"AlignNeed", 1));
    DialogRobot robot;
    for (int retry : {IDRETRY, IDCANCEL}) {
        robot.Next([&, retry](DialogView &d) {
            EXPECT_TRUE(d.IsMessageBox());
            EXPECT_EQ(ModuleString(IDS_ALIGNMENT_ERROR), d.MessageText());
            EXPECT_EQ(ModuleString(IDS_ALIGNMENT_ERROR), d.Title());
            EXPECT_TRUE(d.Has(IDRETRY));
            d.Press(retry);
        });
    }
    EXPECT_EQ(0, RunAlignment(nullptr, m_printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(2u, robot.Seen().size());  // two prompts, no alignment dialog
    EXPECT_EQ(0u, robot.Unexpected());
    // No alignment was made, so the heads still need one.
    EXPECT_EQ(1, State().Get(L"AlignNeed"));
}

}  // namespace

namespace {

// Device contexts and bitmaps of the dialogs' own drawing, counted through the program's imports:
// what was made and not yet deleted.
// The test is part of the program, so the stand-ins call on through the functions the patches replaced.
std::set<HANDLE> g_openContexts, g_openBitmaps;
decltype(&CreateCompatibleDC) realCreateDc;
decltype(&DeleteDC) realDeleteDc;
decltype(&LoadBitmapW) realLoadBitmap;
decltype(&LoadImageW) realLoadImage;
decltype(&CreateBitmap) realCreateBitmap;
decltype(&DeleteObject) realDeleteObject;
int g_contextsMade = 0, g_foreignDeletes = 0;

HDC WINAPI CountedCreateDc(HDC dc) {
    HDC made = realCreateDc(dc);
    if (made) {
        g_openContexts.insert(made);
        ++g_contextsMade;
    }
    return made;
}
BOOL WINAPI CountedDeleteDc(HDC dc) {
    if (!g_openContexts.erase(dc)) ++g_foreignDeletes;
    return realDeleteDc(dc);
}
HBITMAP WINAPI CountedLoadBitmap(HINSTANCE module, LPCWSTR name) {
    HBITMAP made = realLoadBitmap(module, name);
    if (made) g_openBitmaps.insert(made);
    return made;
}
HANDLE WINAPI CountedLoadImage(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    HANDLE made = realLoadImage(module, name, type, cx, cy, flags);
    if (made) g_openBitmaps.insert(made);
    return made;
}
HBITMAP WINAPI CountedCreateBitmap(int width, int height, UINT planes, UINT bits, const void *data) {
    HBITMAP made = realCreateBitmap(width, height, planes, bits, data);
    if (made) g_openBitmaps.insert(made);
    return made;
}
BOOL WINAPI CountedDeleteObject(HGDIOBJ object) {
    if (!g_openBitmaps.erase(object)) ++g_foreignDeletes;
    return realDeleteObject(object);
}

TEST_F(AlignDialogs, PicturesReleaseTheirContextsAndBitmaps) {
    Pair(kCartColour, kCartNone);  // colour only: example A asks for the missing picture 156
    HWND dialog = CreateDialogParamW(Model().module, MAKEINTRESOURCEW(IDD_ALIGNMENT), nullptr, AlignDialogProc,
                                     reinterpret_cast<LPARAM>(m_printer.c_str()));
    ASSERT_NE(nullptr, dialog);
    {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP target = CreateCompatibleBitmap(screen, 150, 80);
        HGDIOBJ previous = SelectObject(dc, target);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.hDC = dc;
        item.rcItem = {0, 0, 150, 80};
        {
            HMODULE program = GetModuleHandleW(nullptr);
            ImportPatch patches[] = {
                {program, "gdi32.dll", "CreateCompatibleDC", reinterpret_cast<const void *>(&CountedCreateDc)},
                {program, "gdi32.dll", "DeleteDC", reinterpret_cast<const void *>(&CountedDeleteDc)},
                {program, "user32.dll", "LoadBitmapW", reinterpret_cast<const void *>(&CountedLoadBitmap)},
                {program, "user32.dll", "LoadImageW", reinterpret_cast<const void *>(&CountedLoadImage)},
                {program, "gdi32.dll", "CreateBitmap", reinterpret_cast<const void *>(&CountedCreateBitmap)},
                {program, "gdi32.dll", "DeleteObject", reinterpret_cast<const void *>(&CountedDeleteObject)},
            };
            for (const ImportPatch &patch : patches) ASSERT_NE(0u, patch.slots());
            realCreateDc = patches[0].original<decltype(realCreateDc)>();
            realDeleteDc = patches[1].original<decltype(realDeleteDc)>();
            realLoadBitmap = patches[2].original<decltype(realLoadBitmap)>();
            realLoadImage = patches[3].original<decltype(realLoadImage)>();
            realCreateBitmap = patches[4].original<decltype(realCreateBitmap)>();
            realDeleteObject = patches[5].original<decltype(realDeleteObject)>();
            for (int id = IDC_EXAMPLE_A; id <= IDC_EXAMPLE_F; ++id) {
                item.CtlID = static_cast<UINT>(id);
                AlignDialogProc(dialog, WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
            }
            item.CtlID = IDC_ALIGN_PICTURE;
            AlignPrepDialogProc(dialog, WM_DRAWITEM, IDC_ALIGN_PICTURE, reinterpret_cast<LPARAM>(&item));
        }
        EXPECT_EQ(7, g_contextsMade);  // five examples, the illustration and its mask
        EXPECT_TRUE(g_openContexts.empty());
        EXPECT_TRUE(g_openBitmaps.empty());
        EXPECT_EQ(0, g_foreignDeletes);
        SelectObject(dc, previous);
        DeleteObject(target);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    DestroyWindow(dialog);
}

}  // namespace
