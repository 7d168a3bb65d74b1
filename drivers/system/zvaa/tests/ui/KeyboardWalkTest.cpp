// The wizard dialogs by keyboard alone: Tab reaches every tab stop and the focus always shows where it
// is (the example pictures of 104 draw their own mark), the arrows stay inside a radio pair, and every
// value of 104 and every choice of 113, 154 and 150 can be changed and kept without the mouse.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "resources/ResourceIds.h"
#include "testbed/ImportPatch.h"
#include "testbed/PngFile.h"
#include "ui/AlignDialog.h"
#include "ui/CartridgeDialog.h"
#include "ui/WizardTestPrinter.h"
#include "zvaaSUI.h"

namespace {

BOOL WINAPI IgnoreSetJob(HANDLE, DWORD, DWORD, LPBYTE, DWORD) { return TRUE; }

// The controls Tab should reach: visible, enabled tab stops.
std::set<int> TabStops(const DialogView &d) {
    std::set<int> stops;
    for (const ControlInfo &c : d.Controls())
        if (c.visible && c.enabled && (c.style & WS_TABSTOP)) stops.insert(c.id);
    return stops;
}

std::vector<uint8_t> Pixels(HWND control) {
    RECT r = {};
    GetClientRect(control, &r);
    HDC dc = GetDC(control);
    std::vector<uint8_t> rgb = ReadRgbPixels(dc, 0, 0, r.right, r.bottom);
    ReleaseDC(control, dc);
    return rgb;
}

// Tabs once round the dialog from where the focus is; calls `at` with each control the focus lands
// on. The ids in the order reached; a focus that leaves the dialog ends the walk with a 0.
std::vector<int> TabRound(DialogView &d, const std::function<void(int)> &at = nullptr) {
    std::vector<int> order;
    const int first = d.FocusId();
    for (int step = 0; step < 40; ++step) {
        d.Key(VK_TAB);
        const int id = d.FocusId();
        order.push_back(id);
        if (id == 0 || id == first) break;
        if (at) at(id);
    }
    return order;
}

// Tabs until the control has the focus; false when a round does not reach it.
bool TabTo(DialogView &d, int id) {
    for (int step = 0; step < 40 && d.FocusId() != id; ++step) d.Key(VK_TAB);
    return d.FocusId() == id;
}

// Moves from the first radio of a pair to the second with the arrow keys (Space where the arrow only
// moved the focus), and checks that the arrows keep to the pair.
void ChooseSecondRadio(DialogView &d, int first, int second) {
    ASSERT_TRUE(TabTo(d, first)) << "Tab does not reach radio " << first;
    d.Key(VK_DOWN);
    EXPECT_EQ(second, d.FocusId()) << "Down from " << first;
    d.Key(VK_DOWN);
    EXPECT_EQ(first, d.FocusId()) << "Down from " << second << " leaves the pair";
    d.Key(VK_UP);
    EXPECT_EQ(second, d.FocusId()) << "Up from " << first << " leaves the pair";
    if (!d.IsChecked(second)) d.Key(VK_SPACE);
    EXPECT_TRUE(d.IsChecked(second));
    EXPECT_FALSE(d.IsChecked(first));
}

class KeyboardWalk : public WizardTestPrinter {};

TEST_F(KeyboardWalk, CartridgeDialogsEveryChoiceWithoutTheMouse) {
    for (bool identify : {true, false}) {
        ASSERT_TRUE(State().Install(kCartColour, kCartBlack, kUntouchedLevel, kUntouchedFlag));
        DialogRobot robot;
        robot.Next([&](DialogView &d) {
            const std::set<int> stops = TabStops(d);
            const std::vector<int> order = TabRound(d);
            ASSERT_FALSE(order.empty());
            EXPECT_NE(0, order.back()) << "the focus left the dialog";
            EXPECT_EQ(stops, std::set<int>(order.begin(), order.end()));

            const int leftBefore = d.ComboSelection(IDC_LEFT_COMBO), rightBefore = d.ComboSelection(IDC_RIGHT_COMBO);
            ASSERT_TRUE(TabTo(d, IDC_LEFT_COMBO));
            d.Key(VK_DOWN);
            EXPECT_EQ(leftBefore + 1, d.ComboSelection(IDC_LEFT_COMBO));
            ASSERT_TRUE(TabTo(d, IDC_RIGHT_COMBO));
            d.Key(VK_DOWN);
            EXPECT_EQ(rightBefore + 1, d.ComboSelection(IDC_RIGHT_COMBO));
            ChooseSecondRadio(d, IDC_LEFT_NEW, IDC_LEFT_USED);
            ChooseSecondRadio(d, IDC_RIGHT_NEW, IDC_RIGHT_USED);
            d.Key(VK_RETURN);
        });
        robot.Next([](DialogView &prep) { prep.Key(VK_ESCAPE); });
        if (identify)
            PopupCartridgeIdentifyDialog(nullptr, m_printer.c_str());
        else
            PopupCartridgeInstallDialog(nullptr, m_printer.c_str());
        EXPECT_EQ(0u, robot.Pending());
        EXPECT_EQ(0u, robot.Unexpected());

        // High-capacity colour and black, both kept as cartridges already used: nothing refilled.
        EXPECT_EQ(kCartColourHigh, State().Get(L"CartLeft")) << (identify ? "154" : "113");
        EXPECT_EQ(kCartBlackHigh, State().Get(L"CartRight")) << (identify ? "154" : "113");
        ExpectCounters(std::vector<LONG>(11, kUntouchedLevel));
    }
}

TEST_F(KeyboardWalk, AlignmentEveryValueWithoutTheMouseAndTheFocusAlwaysShows) {
    ImportPatch setJob(GetModuleHandleW(nullptr), "winspool.drv", "SetJobW", reinterpret_cast<const void *>(&IgnoreSetJob));
    m_environment.WriteDriverFile(L"zvaaalg4.out", "page");
    const int edits[] = {IDC_EDIT_A, IDC_EDIT_B, IDC_EDIT_C, IDC_EDIT_D, IDC_EDIT_E, IDC_EDIT_F};
    const wchar_t *typed[] = {L"12", L"9", L"20", L"21", L"22", L"23"};
    const int examples[] = {IDC_EXAMPLE_A, IDC_EXAMPLE_B, IDC_EXAMPLE_C, IDC_EXAMPLE_D, IDC_EXAMPLE_E, IDC_EXAMPLE_F};

    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        // Each example picture as it looks without the focus, to compare with how it looks with it.
        std::vector<std::vector<uint8_t>> unfocused;
        for (int id : examples) unfocused.push_back(Pixels(d.Item(id)));

        const std::set<int> stops = TabStops(d);
        std::set<int> marked;
        const std::vector<int> order = TabRound(d, [&](int id) {
            for (int g = 0; g < 6; ++g) {
                if (id == examples[g] && Pixels(d.Item(id)) != unfocused[g]) marked.insert(id);
                if (id == edits[g]) d.TypeChars(typed[g]);  // Tab selects the edit's text: typing replaces it
            }
        });
        ASSERT_FALSE(order.empty());
        EXPECT_NE(0, order.back()) << "the focus left the dialog";
        EXPECT_EQ(stops, std::set<int>(order.begin(), order.end()));
        EXPECT_EQ(std::set<int>(std::begin(examples), std::end(examples)), marked) << "pictures that show the focus";
        for (int g = 0; g < 6; ++g) EXPECT_EQ(typed[g], d.Text(edits[g])) << g;
        d.Key(VK_RETURN);
    });
    EXPECT_EQ(1, RunAlignment(nullptr, m_printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    const LONG stored[] = {12, 9, 20, 21, 22, 23};
    for (int g = 0; g < 6; ++g) EXPECT_EQ(stored[g], State().Get((L"AlignCMYK_" + std::to_wstring(g)).c_str())) << g;
}

}  // namespace

namespace {

TEST_F(KeyboardWalk, SetupPromptChoiceWithoutTheMouse) {
    DialogRobot robot;
    robot.Next([](DialogView &d) {
        const std::vector<int> order = TabRound(d);
        ASSERT_FALSE(order.empty());
        EXPECT_NE(0, order.back()) << "the focus left the dialog";
        EXPECT_EQ(TabStops(d), std::set<int>(order.begin(), order.end()));
        ChooseSecondRadio(d, IDC_SETUP_YES, IDC_SETUP_NO);
        d.Key(VK_RETURN);
    });
    EXPECT_EQ(2, PreInstall(m_printer.c_str())) << "\"Nej\" chosen";
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
}

}  // namespace
