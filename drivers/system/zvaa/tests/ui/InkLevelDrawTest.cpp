// Drawing one holder's ink picture on a canvas: the gauge keyed over what was there, the caption set,
// nothing left open on any path, and nothing drawn when the state or the picture is missing.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "resources/ResourceIds.h"
#include "state/PrinterStateKey.h"
#include "support/GdiLedger.h"
#include "support/HandleLedger.h"
#include "testbed/ImportPatch.h"
#include "testbed/MemoryCanvas.h"
#include "testbed/PrinterEnvironment.h"
#include "ui/InkLevelPicture.h"

namespace {

constexpr COLORREF kGround = RGB(10, 20, 30);

// A stand-in for the page: a window with the two caption statics.
class FakePage {
public:
    FakePage() {
        m_page = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        for (int id : {IDC_LEFT_TYPE, IDC_RIGHT_TYPE})
            CreateWindowExW(0, L"STATIC", L"före", WS_CHILD, 0, 0, 100, 20, m_page,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    ~FakePage() { DestroyWindow(m_page); }
    HWND hwnd() const { return m_page; }
    std::wstring Caption(int id) const {
        WCHAR text[260] = {};
        GetDlgItemTextW(m_page, id, text, ARRAYSIZE(text));
        return text;
    }

private:
    HWND m_page;
};

class InkLevelDraw : public testing::Test {
protected:
    void SetUp() override {
        m_printer = m_env.AddTestPrinter();
        ASSERT_FALSE(m_printer.empty());
        ASSERT_TRUE(InitPrinterState(m_printer.c_str()));  // full counters
        m_canvas.Fill(kGround);
    }
    BOOL Draw(int buttonId) {
        const RECT item = {0, 0, m_canvas.width(), m_canvas.height()};
        return DrawInkLevelPicture(m_page.hwnd(), m_printer.c_str(), buttonId, m_canvas.dc(), item);
    }

    PrinterEnvironment m_env;
    std::wstring m_printer;
    FakePage m_page;
    MemoryCanvas m_canvas{50, 126};  // the 25 x 63 gauge at twice its size
};

TEST_F(InkLevelDraw, GaugeIsKeyedOverTheGroundAndEverythingIsGivenBack) {
    ASSERT_TRUE(WriteCartridges(m_printer.c_str(), kCartColour, kCartBlack));
    HandleLedger ledger(HandleLedger::ProgramModule());
    TrackGdiObjects(ledger);
    ledger.Reset();
    EXPECT_TRUE(Draw(IDC_RIGHT_INK));
    EXPECT_TRUE(ledger.Balanced());

    const int ground = m_canvas.width() * m_canvas.height() - m_canvas.CountOther(0, 0, m_canvas.width(), m_canvas.height(), kGround);
    EXPECT_GT(ground, 0);                                      // the green strip let the ground through
    EXPECT_LT(ground, m_canvas.width() * m_canvas.height());   // and the gauge covered the rest
    EXPECT_EQ(0, m_canvas.width() * m_canvas.height() -
                     m_canvas.CountOther(0, 0, m_canvas.width(), m_canvas.height(), RGB(0, 255, 0)));  // no green left
    EXPECT_EQ(L"SVART art.nr. ", m_page.Caption(IDC_RIGHT_TYPE).substr(0, 14));
    EXPECT_EQ(L"före", m_page.Caption(IDC_LEFT_TYPE));  // the other holder is not touched
}

TEST_F(InkLevelDraw, EmptyHolderGetsItsCaptionButNoPicture) {
    ASSERT_TRUE(WriteCartridges(m_printer.c_str(), kCartNone, kCartBlack));
    EXPECT_FALSE(Draw(IDC_LEFT_INK));
    EXPECT_TRUE(m_canvas.AllOf(0, 0, m_canvas.width(), m_canvas.height(), kGround));
    EXPECT_EQ(L"Ingen bl\u00E4ckpatron", m_page.Caption(IDC_LEFT_TYPE));
}

TEST_F(InkLevelDraw, OtherButtonsAndUnreadableStateDrawNothing) {
    EXPECT_FALSE(Draw(IDC_INSTALL_CARTRIDGE));
    EXPECT_FALSE(DrawInkLevelPicture(m_page.hwnd(), L"Ingen s\u00E5dan skrivare", IDC_LEFT_INK, m_canvas.dc(),
                                     RECT{0, 0, m_canvas.width(), m_canvas.height()}));
    EXPECT_TRUE(m_canvas.AllOf(0, 0, m_canvas.width(), m_canvas.height(), kGround));
    EXPECT_EQ(L"före", m_page.Caption(IDC_LEFT_TYPE));  // captions stay as they were
}

HANDLE WINAPI NoImage(HINSTANCE, LPCWSTR, UINT, int, int, UINT) { return nullptr; }

TEST_F(InkLevelDraw, APictureThatCannotBeLoadedLeavesNothingOpen) {
    ASSERT_TRUE(WriteCartridges(m_printer.c_str(), kCartColour, kCartBlack));
    ImportPatch failing(HandleLedger::ProgramModule(), "user32.dll", "LoadImageW", reinterpret_cast<const void *>(&NoImage));
    HandleLedger ledger(HandleLedger::ProgramModule());
    TrackGdiObjects(ledger);
    ledger.Reset();
    EXPECT_FALSE(Draw(IDC_LEFT_INK));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_TRUE(m_canvas.AllOf(0, 0, m_canvas.width(), m_canvas.height(), kGround));
}

}  // namespace
