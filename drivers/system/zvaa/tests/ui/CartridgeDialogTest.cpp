// The cartridge dialogs 154 and 113 on real windows, against the registry and spooler of Wine.
#include <gtest/gtest.h>

#include "resources/ResourceIds.h"
#include "testbed/ImportPatch.h"
#include "testbed/MemoryCanvas.h"
#include "ui/CartridgeDialog.h"
#include "ui/WizardTestPrinter.h"

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

using Strings = std::vector<std::wstring>;

class CartridgeDialogs : public WizardTestPrinter {};

constexpr LONG kUntouched = WizardTestPrinter::kUntouchedLevel;

TEST_F(CartridgeDialogs, IdentifyOffersEachHolderItsTypesWithTheStoredPairSelected) {
    ASSERT_TRUE(State().Install(kCartColourHigh, kCartPhoto, kUntouched, kUntouchedFlag));
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        EXPECT_EQ(m_printer, d.Title());
        EXPECT_EQ(nullptr, d.Owner());
        EXPECT_TRUE(d.IsTopmost());
        EXPECT_EQ(POINT({100, 100}), Corner(d));
        EXPECT_TRUE(d.Has(IDC_HEADER_IDENTIFY));
        EXPECT_EQ(Strings({ModuleString(IDS_CART_COLOUR), ModuleString(IDS_CART_COLOUR_HIGH)}), d.ComboItems(IDC_LEFT_COMBO));
        EXPECT_EQ(Strings({ModuleString(IDS_CART_BLACK), ModuleString(IDS_CART_BLACK_HIGH), ModuleString(IDS_CART_PHOTO)}),
                  d.ComboItems(IDC_RIGHT_COMBO));
        EXPECT_EQ(1, d.ComboSelection(IDC_LEFT_COMBO));
        EXPECT_EQ(2, d.ComboSelection(IDC_RIGHT_COMBO));
        EXPECT_TRUE(d.IsChecked(IDC_LEFT_NEW));
        EXPECT_FALSE(d.IsChecked(IDC_LEFT_USED));
        EXPECT_TRUE(d.IsChecked(IDC_RIGHT_NEW));
        EXPECT_FALSE(d.IsChecked(IDC_RIGHT_USED));
        // A click on the header band is no command of the dialog.
        EXPECT_EQ(FALSE, CartridgeDialogProc(d.Handle(), WM_COMMAND, MAKEWPARAM(IDC_HEADER_IDENTIFY, BN_CLICKED),
                                             LPARAM(d.Item(IDC_HEADER_IDENTIFY))));
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(1, PopupCartridgeIdentifyDialog(nullptr, m_printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
}

TEST_F(CartridgeDialogs, CancelEscAndTheCloseBoxStoreNothing) {
    const std::function<void(DialogView &)> ways[] = {
        [](DialogView &d) { d.Press(IDCANCEL); },
        [](DialogView &d) { d.PressEsc(); },
        [](DialogView &d) { d.CloseBox(); },
    };
    for (const auto &way : ways) {
        DialogRobot robot;
        robot.Next([&](DialogView &d) {
            d.SelectComboIndex(IDC_LEFT_COMBO, 1);
            d.SelectComboIndex(IDC_RIGHT_COMBO, 2);
            way(d);
        });
        EXPECT_EQ(1, PopupCartridgeIdentifyDialog(nullptr, m_printer.c_str()));
        EXPECT_EQ(1u, robot.Seen().size());
        EXPECT_EQ(0u, robot.Unexpected());
    }
    EXPECT_EQ(kCartColour, State().Get(L"CartLeft"));
    EXPECT_EQ(kCartBlack, State().Get(L"CartRight"));
    EXPECT_EQ(kUntouchedFlag, State().Get(L"AlignNeed"));
    ExpectCounters(std::vector<LONG>(11, kUntouched));
}

TEST_F(CartridgeDialogs, DriverIniNamesReplaceTheStringTable) {
    m_environment.WriteOwnDriverIni(L"CART_STD=Egen färg 1\nCART_PHO=Eget foto ÅÄÖ\n");
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        EXPECT_EQ(Strings({L"Egen färg 1", ModuleString(IDS_CART_COLOUR_HIGH)}), d.ComboItems(IDC_LEFT_COMBO));
        EXPECT_EQ(Strings({ModuleString(IDS_CART_BLACK), ModuleString(IDS_CART_BLACK_HIGH), L"Eget foto ÅÄÖ"}),
                  d.ComboItems(IDC_RIGHT_COMBO));
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(1, PopupCartridgeInstallDialog(nullptr, m_printer.c_str()));
}

TEST_F(CartridgeDialogs, ContinueStoresThePairRefillsNewCartridgesAndLeadsToAlignment) {
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        d.SelectComboIndex(IDC_LEFT_COMBO, 1);   // colour high-capacity
        d.SelectComboIndex(IDC_RIGHT_COMBO, 2);  // photo
        d.Press(IDOK);
    });
    robot.Next([&](DialogView &d) {
        // Dialog 151, opened without an owner as 154 was; the state is stored before it opens.
        EXPECT_TRUE(d.Has(IDC_HEADER_ALIGN_PREP));
        EXPECT_EQ(m_printer, d.Title());
        EXPECT_EQ(nullptr, d.Owner());
        EXPECT_TRUE(d.IsTopmost());
        EXPECT_EQ(POINT({100, 100}), Corner(d));
        EXPECT_EQ(1, State().Get(L"AlignNeed"));
        EXPECT_EQ(kCartColourHigh, State().Get(L"CartLeft"));
        EXPECT_EQ(kCartPhoto, State().Get(L"CartRight"));
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(1, PopupCartridgeIdentifyDialog(nullptr, m_printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());

    // Cancel in 151 gives the alignment up.
    EXPECT_EQ(0, State().Get(L"AlignNeed"));
    const LONG u = kUntouched, hc = 915000000, ph = 231000000;
    ExpectCounters({u, u, u, hc, u, hc, u, hc, ph, ph, ph});
}

// A standard user's token: every value write to the state tree is refused.
LSTATUS WINAPI WriteRefused(HKEY, LPCWSTR, DWORD, DWORD, const BYTE *, DWORD) { return ERROR_ACCESS_DENIED; }

// The system's own words for a refused access, as the message quotes them.
std::wstring AccessDeniedText() {
    WCHAR text[MAX_PATH] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0, text,
                   MAX_PATH, nullptr);
    return text;
}

TEST_F(CartridgeDialogs, AChoiceThatCannotBeStoredIsToldAndTheChainGoesOn) {
    ImportPatch refuse(GetModuleHandleW(nullptr), "advapi32.dll", "RegSetValueExW",
                       reinterpret_cast<const void *>(&WriteRefused));
    HWND cartridgeDialog = nullptr;
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        cartridgeDialog = d.Handle();
        d.SelectComboIndex(IDC_LEFT_COMBO, 1);
        d.Press(IDOK);
    });
    robot.Next([&](DialogView &d) {
        EXPECT_TRUE(d.IsMessageBox());
        EXPECT_EQ(ModuleString(IDS_SETTINGS_NOT_SAVED) + L"\n\n" + AccessDeniedText(), d.MessageText());
        EXPECT_EQ(m_printer, d.Title());
        EXPECT_EQ(cartridgeDialog, d.Owner());
        d.Press(IDOK);
    });
    robot.Next([&](DialogView &d) {
        EXPECT_TRUE(d.Has(IDC_HEADER_ALIGN_PREP));
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(1, PopupCartridgeIdentifyDialog(nullptr, m_printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    EXPECT_EQ(kCartColour, State().Get(L"CartLeft")) << "nothing was stored";
}

// Which radio buttons the user clicks, and which cartridges (of colour + black) are then refilled.
struct RadioCase {
    std::vector<int> clicks;
    bool leftRefilled, rightRefilled;
};

TEST_F(CartridgeDialogs, RadioButtonsDecideWhichCartridgesAreRefilled) {
    const RadioCase cases[] = {
        {{}, true, true},
        {{IDC_LEFT_USED}, false, true},
        {{IDC_RIGHT_USED}, true, false},
        {{IDC_LEFT_USED, IDC_RIGHT_USED}, false, false},
        {{IDC_LEFT_USED, IDC_LEFT_NEW}, true, true},
        // A second click on a checked button changes nothing.
        {{IDC_RIGHT_USED, IDC_RIGHT_USED}, true, false},
        {{IDC_LEFT_NEW}, true, true},
        {{IDC_LEFT_NEW, IDC_LEFT_NEW, IDC_RIGHT_NEW}, true, true},
    };
    for (const RadioCase &c : cases) {
        for (const wchar_t *counter : kInkCounterNames) State().SetDword(counter, kUntouched);
        DialogRobot robot;
        robot.Next([&](DialogView &d) {
            for (int id : c.clicks) d.Check(id);
            d.Press(IDOK);
        });
        robot.NextPress(IDCANCEL);  // 151
        EXPECT_EQ(1, PopupCartridgeIdentifyDialog(nullptr, m_printer.c_str()));
        EXPECT_EQ(0u, robot.Pending());

        const LONG k = c.rightRefilled ? 610000000 : kUntouched, col = c.leftRefilled ? 550000000 : kUntouched,
                   u = kUntouched;
        SCOPED_TRACE(testing::Message() << "clicks " << c.clicks.size() << " first " << (c.clicks.empty() ? 0 : c.clicks[0]));
        ExpectCounters({k, u, col, u, col, u, col, u, u, u, u});
    }
}

TEST_F(CartridgeDialogs, StoredTypesOutsideTheListsSelectNothingAndContinueTakesTheFirstEntries) {
    // A pair the lists cannot show (black left, colour right), and a damaged key with numbers that
    // are no types at all.
    const LONG pairs[][2] = {{kCartBlack, kCartColour}, {77, -4}, {6, 0x7FFFFFFF}};
    for (const auto &pair : pairs) {
        ASSERT_TRUE(State().SetBinary(L"CartLeft", pair[0]));
        ASSERT_TRUE(State().SetBinary(L"CartRight", pair[1]));
        DialogRobot robot;
        robot.Next([&](DialogView &d) {
            EXPECT_EQ(CB_ERR, d.ComboSelection(IDC_LEFT_COMBO)) << pair[0];
            EXPECT_EQ(CB_ERR, d.ComboSelection(IDC_RIGHT_COMBO)) << pair[1];
            EXPECT_EQ(2u, d.ComboItems(IDC_LEFT_COMBO).size());
            EXPECT_EQ(3u, d.ComboItems(IDC_RIGHT_COMBO).size());
            d.Press(IDOK);
        });
        robot.NextPress(IDCANCEL);
        EXPECT_EQ(1, PopupCartridgeIdentifyDialog(nullptr, m_printer.c_str()));
        EXPECT_EQ(kCartColour, State().Get(L"CartLeft"));
        EXPECT_EQ(kCartBlack, State().Get(L"CartRight"));
    }
}

TEST_F(CartridgeDialogs, AnUnreadablePairShowsTheModelsDefaultPair) {
    ASSERT_TRUE(State().Install(kCartColourHigh, kCartPhoto, kUntouched, kUntouchedFlag));
    ASSERT_TRUE(State().Remove(L"CartLeft"));
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        EXPECT_EQ(0, d.ComboSelection(IDC_LEFT_COMBO));  // colour
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(1, PopupCartridgeIdentifyDialog(nullptr, m_printer.c_str()));
}

// A model whose left holder also admits no cartridge, so that a pair the printer cannot use can be
// chosen.
class LeftHolderMayBeEmpty {
public:
    LeftHolderMayBeEmpty() : m_saved(Model().leftHolderMask) { Profile().leftHolderMask = m_saved | 0x01; }
    ~LeftHolderMayBeEmpty() { Profile().leftHolderMask = m_saved; }

private:
    static ModelProfile &Profile() { return const_cast<ModelProfile &>(Model()); }
    DWORD m_saved;
};

TEST_F(CartridgeDialogs, AnInvalidPairIsRefusedWithAMessageAndTheDialogStaysOpen) {
    LeftHolderMayBeEmpty model;
    HWND cartridgeDialog = nullptr;
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        cartridgeDialog = d.Handle();
        EXPECT_EQ(Strings({ModuleString(IDS_CART_COLOUR), ModuleString(IDS_CART_COLOUR_HIGH),
                           ModuleString(IDS_NO_CARTRIDGE)}),
                  d.ComboItems(IDC_LEFT_COMBO));
        d.SelectComboIndex(IDC_LEFT_COMBO, 2);   // none
        d.SelectComboIndex(IDC_RIGHT_COMBO, 2);  // photo: no pair
        d.Press(IDOK);
    });
    robot.Next([&](DialogView &d) {
        EXPECT_TRUE(d.IsMessageBox());
        EXPECT_EQ(ModuleString(IDS_INVALID_PAIR), d.MessageText());
        EXPECT_EQ(ModuleString(IDS_INVALID_PAIR), d.Title());
        EXPECT_EQ(cartridgeDialog, d.Owner());
        EXPECT_TRUE(d.Has(IDOK));
        EXPECT_FALSE(d.Has(IDCANCEL));
        d.Press(IDOK);
        // Back in the cartridge dialog, whose choices are as the user left them: cancel it.
        PostMessageW(cartridgeDialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(1, PopupCartridgeInstallDialog(nullptr, m_printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    EXPECT_EQ(2u, robot.Seen().size());  // no alignment preparation
    EXPECT_EQ(kCartColour, State().Get(L"CartLeft"));
    EXPECT_EQ(kCartBlack, State().Get(L"CartRight"));
    EXPECT_EQ(kUntouchedFlag, State().Get(L"AlignNeed"));
}

// Wine's spooler cannot take SetJobW at level 2; the alignment print's job settings go nowhere.
BOOL WINAPI IgnoreSetJob(HANDLE, DWORD, DWORD, LPBYTE, DWORD) { return TRUE; }

TEST_F(CartridgeDialogs, InstallDialogWithAnOwnerLeadsOnUnderThatOwnerToTheEnd) {
    ImportPatch setJob(GetModuleHandleW(nullptr), "winspool.drv", "SetJobW", reinterpret_cast<const void *>(&IgnoreSetJob));
    m_environment.WriteDriverFile(L"zvaaalg4.out", "alignment page");
    HWND owner = CreateWindowExW(0, L"STATIC", L"Sida", WS_OVERLAPPEDWINDOW, 300, 200, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    HWND prep = nullptr;
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        EXPECT_TRUE(d.Has(IDC_HEADER_INSTALL));
        EXPECT_EQ(m_printer, d.Title());
        EXPECT_EQ(owner, d.Owner());
        EXPECT_FALSE(d.IsTopmost());
        d.Check(IDC_LEFT_USED);
        d.Press(IDOK);
    });
    robot.Next([&](DialogView &d) {
        EXPECT_TRUE(d.Has(IDC_HEADER_ALIGN_PREP));
        EXPECT_EQ(owner, d.Owner());
        EXPECT_FALSE(d.IsTopmost());
        prep = d.Handle();
        d.Press(IDOK);
    });
    robot.Next([&](DialogView &d) {
        // The alignment dialog belongs to the (hidden) preparation dialog, which lives until it ends.
        EXPECT_TRUE(d.Has(IDC_HEADER_ALIGN));
        EXPECT_EQ(prep, d.Owner());
        EXPECT_FALSE(d.IsTopmost());
        EXPECT_TRUE(IsWindow(prep));
        EXPECT_EQ(1, State().Get(L"AlignNeed"));
        d.Type(IDC_EDIT_A, L"21");
        d.Press(IDOK);
    });
    EXPECT_EQ(1, PopupCartridgeInstallDialog(owner, m_printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    EXPECT_EQ(0, State().Get(L"AlignNeed"));
    EXPECT_EQ(21, State().Get(L"AlignCMYK_0"));
    const LONG u = kUntouched;
    ExpectCounters({610000000, u, u, u, u, u, u, u, u, u, u});  // only the right cartridge was new
    EXPECT_NE(std::string::npos, m_environment.ReadPortBytes(m_printer).find("alignment page"));
    DestroyWindow(owner);
}

TEST(CartridgeCombo, FillRecordsEveryTypesIndexAndSelectsOnlyListedTypes) {
    HWND dialog = CreateDialogParamW(Model().module, MAKEINTRESOURCEW(IDD_CARTRIDGE_IDENTIFY), nullptr, QuietProc, 0);
    ASSERT_NE(nullptr, dialog);
    CartEntryIndexTable left = {-1, -1, -1, -1, -1, -1}, right = {-1, -1, -1, -1, -1, -1};
    FillCartridgeCombo(dialog, L"Ingen sådan skrivare", IDC_LEFT_COMBO, left, Model().leftHolderMask, kCartColourHigh);
    FillCartridgeCombo(dialog, L"Ingen sådan skrivare", IDC_RIGHT_COMBO, right, Model().rightHolderMask, kCartBlack);
    const CartEntryIndexTable leftExpected = {-1, -1, -1, 0, -1, 1}, rightExpected = {-1, 0, 2, -1, 1, -1};
    for (int t = 0; t < kCartridgeTypeCount; ++t) {
        EXPECT_EQ(leftExpected[t], left[t]) << t;
        EXPECT_EQ(rightExpected[t], right[t]) << t;
    }
    EXPECT_EQ(1, SendDlgItemMessageW(dialog, IDC_LEFT_COMBO, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, SendDlgItemMessageW(dialog, IDC_RIGHT_COMBO, CB_GETCURSEL, 0, 0));

    // A refill empties the list first; types outside 0..5 select nothing and touch no entry.
    for (CartridgeType damaged : {CartridgeType(6), CartridgeType(-1), CartridgeType(0x7FFFFFFF),
                                  CartridgeType(LONG(0x80000000))}) {
        FillCartridgeCombo(dialog, L"Ingen sådan skrivare", IDC_LEFT_COMBO, left, Model().leftHolderMask, damaged);
        EXPECT_EQ(2, SendDlgItemMessageW(dialog, IDC_LEFT_COMBO, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(CB_ERR, SendDlgItemMessageW(dialog, IDC_LEFT_COMBO, CB_GETCURSEL, 0, 0));
    }

    // Selections map back to types; no selection counts as the first entry.
    EXPECT_EQ(kCartColour, CartridgeTypeAtIndex(left, CB_ERR));
    EXPECT_EQ(kCartColourHigh, CartridgeTypeAtIndex(left, 1));
    EXPECT_EQ(kCartPhoto, CartridgeTypeAtIndex(right, 2));
    EXPECT_EQ(kCartNone, CartridgeTypeAtIndex(right, 3));
    DestroyWindow(dialog);
}

// Two printers' property sheets open in one process: each cartridge dialog keeps its own choices.
TEST_F(CartridgeDialogs, TwoDialogsOpenAtOnceKeepTheirOwnChoices) {
    const std::wstring second = m_environment.AddTestPrinter();
    ASSERT_FALSE(second.empty());
    PrinterStateFixture secondState(m_environment, second);
    ASSERT_TRUE(secondState.Install(kCartColour, kCartBlack, kUntouched, kUntouchedFlag));
    DialogRobot robot;
    // The second printer's dialog stands open beside the first, as another sheet's would; the robot
    // sees it open and leaves it be.
    robot.Next([](DialogView &) {});
    HWND other = CreateDialogParamW(Model().module, MAKEINTRESOURCEW(IDD_CARTRIDGE_INSTALL), nullptr,
                                    CartridgeDialogProc, reinterpret_cast<LPARAM>(second.c_str()));
    ASSERT_NE(nullptr, other);
    ShowWindow(other, SW_SHOW);
    DialogView otherView(other);

    robot.Next([&](DialogView &d) {
        d.Check(IDC_LEFT_USED);
        d.Check(IDC_RIGHT_USED);
        // Meanwhile, in the other dialog: left new (clicked again), right printed with before.
        otherView.Check(IDC_LEFT_NEW);
        otherView.Check(IDC_RIGHT_USED);
        d.Press(IDOK);
    });
    robot.NextPress(IDCANCEL);  // 151 of the first printer
    EXPECT_EQ(1, PopupCartridgeInstallDialog(nullptr, m_printer.c_str()));
    ExpectCounters(std::vector<LONG>(11, kUntouched));

    robot.NextPress(IDCANCEL);  // 151 of the second printer
    SendMessageW(other, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(other, IDOK)));
    DestroyWindow(other);
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    EXPECT_EQ(550000000, secondState.Get(L"LevelC"));
    EXPECT_EQ(kUntouched, secondState.Get(L"LevelK"));
}

// Whichever of the two header ids a draw message names, the shared procedure paints the header of the
// dialog it runs.
TEST_F(CartridgeDialogs, EachDialogPaintsOnlyItsOwnHeader) {
    const struct {
        int templateId, ownHeader, otherHeader;
    } cases[] = {
        {IDD_CARTRIDGE_IDENTIFY, IDC_HEADER_IDENTIFY, IDC_HEADER_INSTALL},
        {IDD_CARTRIDGE_INSTALL, IDC_HEADER_INSTALL, IDC_HEADER_IDENTIFY},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.templateId);
        DialogRobot robot;
        robot.Next([&](DialogView &d) {
            // The header as the dialog's own button asks for it, then as a message naming the other
            // dialog's header asks for it: the same picture.
            MemoryCanvas own(300, 60), named(300, 60);
            for (MemoryCanvas *canvas : {&own, &named}) {
                canvas->Fill(RGB(1, 2, 3));
                const int id = canvas == &own ? c.ownHeader : c.otherHeader;
                DRAWITEMSTRUCT item = {};
                item.CtlType = ODT_BUTTON;
                item.CtlID = static_cast<UINT>(id);
                item.itemAction = ODA_DRAWENTIRE;
                item.hwndItem = d.Item(c.ownHeader);
                item.hDC = canvas->dc();
                item.rcItem = RECT{0, 0, 300, 60};
                EXPECT_EQ(TRUE, CartridgeDialogProc(d.Handle(), WM_DRAWITEM, static_cast<WPARAM>(id),
                                                    reinterpret_cast<LPARAM>(&item)));
            }
            int differing = 0;
            for (int y = 0; y < 60; ++y)
                for (int x = 0; x < 300; ++x) differing += own.Get(x, y) != named.Get(x, y);
            EXPECT_EQ(0, differing) << "another dialog's header was painted";
            EXPECT_FALSE(own.AllOf(0, 0, 300, 60, RGB(1, 2, 3)));
            // Any other control is not painted here.
            DRAWITEMSTRUCT button = {};
            button.CtlType = ODT_BUTTON;
            button.CtlID = IDOK;
            button.hDC = own.dc();
            button.rcItem = RECT{0, 0, 300, 60};
            EXPECT_EQ(FALSE, CartridgeDialogProc(d.Handle(), WM_DRAWITEM, IDOK, reinterpret_cast<LPARAM>(&button)));
            d.Press(IDCANCEL);
        });
        if (c.templateId == IDD_CARTRIDGE_IDENTIFY)
            EXPECT_EQ(1, PopupCartridgeIdentifyDialog(nullptr, m_printer.c_str()));
        else
            EXPECT_EQ(1, PopupCartridgeInstallDialog(nullptr, m_printer.c_str()));
        EXPECT_EQ(0u, robot.Pending());
    }
}

}  // namespace
