// The header painter on memory device contexts: where the picture and every line of text go, which
// fonts draw them, and that it leaves the context and the GDI as it found them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "support/GdiLedger.h"
#include "support/ImportPatch.h"
#include "support/MemoryCanvas.h"
#include "ui/WizardHeader.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct TextCall {
    int x, y;
    std::wstring text;
    LOGFONTW font;
};

// Stand-ins in the program's import table: fixed dialog base units, extra strings with line feeds,
// and a record of every TextOutW with the font it used.
struct HeaderProbe {
    static HeaderProbe *current;
    LONG baseUnits = MAKELONG(8, 16);
    std::vector<TextCall> calls;
    decltype(&TextOutW) realTextOut = nullptr;
    decltype(&LoadStringW) realLoadString = nullptr;

    static LONG WINAPI BaseUnits() { return current->baseUnits; }
    static BOOL WINAPI TextOut(HDC dc, int x, int y, LPCWSTR text, int length) {
        TextCall call = {x, y, std::wstring(text, length > 0 ? length : 0), {}};
        GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof call.font, &call.font);
        current->calls.push_back(call);
        return current->realTextOut(dc, x, y, text, length);
    }
    static int WINAPI LoadString(HINSTANCE module, UINT id, LPWSTR buffer, int size) {
        const wchar_t *extra = nullptr;
        switch (id) {
        case 9001: extra = L"Första raden\nAndra raden"; break;
        case 9002: extra = L""; break;
        case 9003: extra = L"Efter tom rad"; break;
        case 9004: extra = L"\n"; break;
        }
        if (!extra) return current->realLoadString(module, id, buffer, size);
        lstrcpynW(buffer, extra, size);
        return lstrlenW(buffer);
    }

    HeaderProbe()
        : units(GetModuleHandleW(nullptr), "user32.dll", "GetDialogBaseUnits", reinterpret_cast<const void *>(&BaseUnits)),
          text(GetModuleHandleW(nullptr), "gdi32.dll", "TextOutW", reinterpret_cast<const void *>(&TextOut)),
          strings(GetModuleHandleW(nullptr), "user32.dll", "LoadStringW", reinterpret_cast<const void *>(&LoadString)) {
        current = this;
        realTextOut = text.original<decltype(&TextOutW)>();
        realLoadString = strings.original<decltype(&LoadStringW)>();
    }
    ~HeaderProbe() { current = nullptr; }

    ImportPatch units, text, strings;
};
HeaderProbe *HeaderProbe::current = nullptr;

DRAWITEMSTRUCT ItemFor(const MemoryCanvas &canvas, UINT id) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = id;
    item.itemAction = ODA_DRAWENTIRE;
    item.hDC = canvas.dc();
    item.rcItem = {0, 0, canvas.width(), canvas.height()};
    return item;
}

// The header picture as StretchBlt puts it into a rectangle of the given size.
void ExpectPictureAt(const MemoryCanvas &canvas, int x, int width, int height) {
    MemoryCanvas reference(width, height);
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageW(Model().module, MAKEINTRESOURCEW(IDB_HEADER_PRINTER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HDC source = CreateCompatibleDC(reference.dc());
    HGDIOBJ old = SelectObject(source, picture);
    StretchBlt(reference.dc(), 0, 0, width, height, source, 0, 0, 59, 59, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(picture);

    int differing = 0;
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px)
            if (canvas.Get(x + px, py) != reference.Get(px, py)) ++differing;
    EXPECT_EQ(0, differing) << "picture at x " << x << ", " << width << " x " << height;
}

TEST(WizardHeader, WorkedExampleOfTheBand) {
    // Base units 8 and 16, a band 58 high: the picture is 58 x 58 at the right end, line height 14,
    // the title bold at y 7 in a font 6 wide, the body at y 21 in a regular font 5 wide.
    HeaderProbe probe;
    // Wide enough that the body line (drawn opaque, not fitted) ends before the picture.
    MemoryCanvas band(600, 58);
    band.Fill(kRed);
    DRAWITEMSTRUCT item = ItemFor(band, IDC_HEADER_ALIGN);

    EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, HeaderStrings::kAlignment));

    ExpectPictureAt(band, 542, 58, 58);
    EXPECT_EQ(0, band.CountOther(0, 0, 542, 7, kWhite)) << "above the title the band is white";
    EXPECT_EQ(0, band.CountOther(0, 35, 542, 58, kWhite)) << "below the body line the band is white";
    EXPECT_EQ(0, band.CountOther(0, 0, 20, 58, kWhite)) << "left of the text the band is white";
    EXPECT_GT(band.CountOther(24, 7, 542, 21, kWhite), 50) << "title drawn";
    EXPECT_GT(band.CountOther(36, 21, 542, 35, kWhite), 50) << "body drawn";

    ASSERT_EQ(2u, probe.calls.size());
    EXPECT_EQ(24, probe.calls[0].x);
    EXPECT_EQ(7, probe.calls[0].y);
    EXPECT_EQ(L"Justering av bläckpatron", probe.calls[0].text);
    EXPECT_EQ(14, probe.calls[0].font.lfHeight);
    EXPECT_EQ(6, probe.calls[0].font.lfWidth);
    EXPECT_EQ(700, probe.calls[0].font.lfWeight);
    EXPECT_EQ(DEFAULT_CHARSET, probe.calls[0].font.lfCharSet);
    EXPECT_EQ(L"", std::wstring(probe.calls[0].font.lfFaceName));
    EXPECT_EQ(36, probe.calls[1].x);
    EXPECT_EQ(21, probe.calls[1].y);
    EXPECT_EQ(L"Justering av bläckpatroner efter installation förbättrar utskriftskvaliteten.", probe.calls[1].text);
    EXPECT_EQ(14, probe.calls[1].font.lfHeight);
    EXPECT_EQ(5, probe.calls[1].font.lfWidth);
    EXPECT_EQ(400, probe.calls[1].font.lfWeight);
}

TEST(WizardHeader, EveryStringStartsALineAndLineFeedsSplitThem) {
    HeaderProbe probe;
    probe.baseUnits = MAKELONG(7, 13);  // line height 11 (13 * 0.9 truncated)
    MemoryCanvas band(500, 90);
    DRAWITEMSTRUCT item = ItemFor(band, 1);
    const UINT strings[] = {IDS_INSTALL_TITLE, 9001, 9002, 9003, 9004, IDS_INSTALL_BODY2, 0};

    EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, strings));

    const struct {
        int y;
        const wchar_t *text;
    } want[] = {
        {7, L"Installera/Byta bläckpatron"},
        {18, L"Första raden"}, {29, L"Andra raden"},  // one line feed: two lines
        {40, L""},                                    // an empty string keeps a line of its own
        {51, L"Efter tom rad"},
        {62, L""}, {73, L""},                         // a lone line feed: two empty lines
        {84, L"bläckpatron."},
    };
    ASSERT_EQ(ARRAYSIZE(want), probe.calls.size());
    for (size_t i = 0; i < probe.calls.size(); ++i) {
        EXPECT_EQ(i == 0 ? 24 : 36, probe.calls[i].x) << i;
        EXPECT_EQ(want[i].y, probe.calls[i].y) << i;
        EXPECT_EQ(want[i].text, probe.calls[i].text) << i;
        EXPECT_EQ(11, probe.calls[i].font.lfHeight) << i;
        EXPECT_EQ(i == 0 ? 5 : 4, probe.calls[i].font.lfWidth) << i;  // 7 * 0.8 and 7 * 0.7, truncated
    }
}

TEST(WizardHeader, WithoutStringsPaintsBandAndPictureOnly) {
    HeaderProbe probe;
    const UINT startsWithEnd[] = {0, IDS_INSTALL_BODY1, 0};
    for (const UINT *strings : {static_cast<const UINT *>(nullptr), startsWithEnd}) {
        HandleLedger ledger(HandleLedger::ProgramModule());
        TrackGdiObjects(ledger);
        MemoryCanvas band(300, 58);
        band.Fill(kRed);
        DRAWITEMSTRUCT item = ItemFor(band, 1);
        ledger.Reset();

        EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, strings));

        EXPECT_EQ(1u, ledger.Acquired(LedgerKind::kGdiObject)) << "the picture alone, no font";
        EXPECT_TRUE(ledger.Balanced());
        EXPECT_TRUE(band.AllOf(0, 0, 242, 58, kWhite));
        ExpectPictureAt(band, 242, 58, 58);
    }
    EXPECT_TRUE(probe.calls.empty());
}

TEST(WizardHeader, SqueezesThePictureIntoANarrowBand) {
    // 58 high at base units 8 and 16 wants 58 pixels; a band 40 wide gets the picture at x 0, 40 wide.
    HeaderProbe probe;
    MemoryCanvas band(40, 58);
    band.Fill(kRed);
    DRAWITEMSTRUCT item = ItemFor(band, 1);
    EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, nullptr));
    ExpectPictureAt(band, 0, 40, 58);

    // Unequal units: 36 high at base units 6 and 13 gives (36 * 13) / 12 = 39 pixels.
    probe.baseUnits = MAKELONG(6, 13);
    MemoryCanvas other(200, 36);
    DRAWITEMSTRUCT otherItem = ItemFor(other, 1);
    EXPECT_TRUE(WizardHeader(nullptr, &otherItem, IDB_HEADER_PRINTER, nullptr));
    ExpectPictureAt(other, 161, 39, 36);
}

TEST(WizardHeader, DrawsNothingWithoutRecordContextOrPicture) {
    HeaderProbe probe;
    HandleLedger ledger(HandleLedger::ProgramModule());
    TrackGdiObjects(ledger);
    MemoryCanvas band(100, 36);
    band.Fill(kRed);
    DRAWITEMSTRUCT item = ItemFor(band, 1);
    DRAWITEMSTRUCT noContext = item;
    noContext.hDC = nullptr;
    ledger.Reset();

    EXPECT_FALSE(WizardHeader(nullptr, nullptr, IDB_HEADER_PRINTER, HeaderStrings::kBanner));
    EXPECT_FALSE(WizardHeader(nullptr, &noContext, IDB_HEADER_PRINTER, HeaderStrings::kBanner));
    EXPECT_FALSE(WizardHeader(nullptr, &item, IDB_ALIGN_EXAMPLE_NONE, HeaderStrings::kBanner));

    EXPECT_TRUE(ledger.Balanced());
    EXPECT_TRUE(band.AllOf(0, 0, 100, 36, kRed));
    EXPECT_TRUE(probe.calls.empty());
}

TEST(WizardHeader, LeavesTheContextAndTheGdiAsItFoundThem) {
    HeaderProbe probe;
    HandleLedger ledger(HandleLedger::ProgramModule());
    TrackGdiObjects(ledger);
    MemoryCanvas band(400, 58);
    DRAWITEMSTRUCT item = ItemFor(band, 1);
    HGDIOBJ font = GetStockObject(ANSI_FIXED_FONT);
    SelectObject(band.dc(), font);
    SetBkColor(band.dc(), RGB(1, 2, 3));
    SetTextColor(band.dc(), RGB(0, 0, 128));
    ledger.Reset();

    EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, HeaderStrings::kCartridgeInstall));

    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(1u, ledger.Acquired(LedgerKind::kDeviceContext));
    EXPECT_EQ(3u, ledger.Acquired(LedgerKind::kGdiObject)) << "picture and two fonts";
    EXPECT_EQ(font, GetCurrentObject(band.dc(), OBJ_FONT));
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(band.dc()));
    EXPECT_EQ(RGB(0, 0, 128), GetTextColor(band.dc()));
    // The text is drawn in the context's own text colour on white.
    const int area = (342 - 24) * (21 - 7);
    EXPECT_GT(area - band.CountOther(24, 7, 342, 21, RGB(0, 0, 128)), 10);
}

}  // namespace
