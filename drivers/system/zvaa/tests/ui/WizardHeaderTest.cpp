// The header painter on memory device contexts: where the picture and every line of text go, which
// fonts draw them, and that it leaves the context and the GDI as it found them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "support/GdiLedger.h"
#include "testbed/ImportPatch.h"
#include "testbed/MemoryCanvas.h"
#include "ui/WizardHeader.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct TextCall {
    int x, y;
    std::wstring text;
    LOGFONTW font;
    SIZE extent;
};

// Stand-ins in the program's import table: extra strings with line feeds, and a record of every
// TextOutW with the font it used and the extent the text took in it.
struct HeaderProbe {
    static HeaderProbe *current;
    std::vector<TextCall> calls;
    decltype(&TextOutW) realTextOut = nullptr;
    decltype(&LoadStringW) realLoadString = nullptr;

    static BOOL WINAPI TextOut(HDC dc, int x, int y, LPCWSTR text, int length) {
        TextCall call = {x, y, std::wstring(text, length > 0 ? length : 0), {}, {}};
        GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof call.font, &call.font);
        if (length > 0) GetTextExtentPoint32W(dc, text, length, &call.extent);
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
        : text(GetModuleHandleW(nullptr), "gdi32.dll", "TextOutW", reinterpret_cast<const void *>(&TextOut)),
          strings(GetModuleHandleW(nullptr), "user32.dll", "LoadStringW", reinterpret_cast<const void *>(&LoadString)) {
        current = this;
        realTextOut = text.original<decltype(&TextOutW)>();
        realLoadString = strings.original<decltype(&LoadStringW)>();
    }
    ~HeaderProbe() { current = nullptr; }

    ImportPatch text, strings;
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

// The dialog base units the platform reports, as Windows gives them (GetDialogBaseUnits patched in
// the program's imports): (8, 16) at 96 DPI, (12, 24) at 144 DPI.
struct WindowsBaseUnits {
    static LONG units;
    static LONG WINAPI Get() { return units; }
    explicit WindowsBaseUnits(int h, int v)
        : patch(GetModuleHandleW(nullptr), "user32.dll", "GetDialogBaseUnits", reinterpret_cast<const void *>(&Get)) {
        units = MAKELONG(h, v);
    }
    ImportPatch patch;
};
LONG WindowsBaseUnits::units = 0;

// The band as the description paints it, call by call: ground, picture, then every line at the
// given place in a font of the given height and widths.
void PaintDescribedBand(const MemoryCanvas &canvas, int picture, int titleX, int bodyX, int top, int height,
                        int titleWidth, int bodyWidth, const std::vector<std::wstring> &lines) {
    RECT all = {0, 0, canvas.width(), canvas.height()};
    FillRect(canvas.dc(), &all, GetSysColorBrush(COLOR_WINDOW));
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(Model().module, MAKEINTRESOURCEW(IDB_HEADER_PRINTER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HDC source = CreateCompatibleDC(canvas.dc());
    HGDIOBJ old = SelectObject(source, bitmap);
    StretchBlt(canvas.dc(), canvas.width() - picture, 0, picture, canvas.height(), source, 0, 0, 59, 59, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
    SetBkColor(canvas.dc(), GetSysColor(COLOR_WINDOW));
    SetTextColor(canvas.dc(), GetSysColor(COLOR_WINDOWTEXT));
    for (size_t i = 0; i < lines.size(); ++i) {
        HFONT font = CreateFontW(height, i == 0 ? titleWidth : bodyWidth, 0, 0, i == 0 ? 700 : 400, FALSE, FALSE,
                                 FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH, nullptr);
        HGDIOBJ previous = SelectObject(canvas.dc(), font);
        TextOutW(canvas.dc(), i == 0 ? titleX : bodyX, top + static_cast<int>(i) * height, lines[i].c_str(),
                 static_cast<int>(lines[i].size()));
        SelectObject(canvas.dc(), previous);
        DeleteObject(font);
    }
}

TEST(WizardHeader, TheDescribedBandWithWindowsBaseUnitsAndScaled) {
    // Base units (8, 16) and a band 58 high, as Windows at 96 DPI gives them: the picture 58 x 58 at
    // the right end, F = 14, the title at 24, 7 in a bold font 6 wide, the body lines at 36, 21, 35
    // and 49 in a regular font 5 wide; pixel for pixel what the description paints.
    {
        WindowsBaseUnits windows(8, 16);
        const UINT strings[] = {IDS_INSTALL_TITLE, 9001, IDS_INSTALL_BODY2, 0};
        MemoryCanvas described(900, 58);
        PaintDescribedBand(described, 58, 24, 36, 7, 14, 6, 5,
                           {L"Installera/Byta bläckpatron", L"Första raden", L"Andra raden", L"bläckpatron."});
        HeaderProbe probe;
        MemoryCanvas band(900, 58);
        band.Fill(kRed);
        DRAWITEMSTRUCT item = ItemFor(band, IDC_HEADER_INSTALL);
        EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, strings));
        int differing = 0;
        for (int y = 0; y < 58; ++y)
            for (int x = 0; x < 900; ++x) differing += band.Get(x, y) != described.Get(x, y);
        EXPECT_EQ(0, differing);
        ASSERT_EQ(4u, probe.calls.size());
        EXPECT_EQ(49, probe.calls[3].y);
        EXPECT_EQ(6, probe.calls[0].font.lfWidth);
        EXPECT_EQ(5, probe.calls[3].font.lfWidth);
    }
    // (12, 24) with a band 87 high (Windows at 144 DPI), and the standard units with a band that grew
    // to 87 without them: the same band half as large again, every line inside it.
    for (LONG units : {MAKELONG(12, 24), MAKELONG(8, 16)}) {
        WindowsBaseUnits windows(LOWORD(units), HIWORD(units));
        HeaderProbe probe;
        MemoryCanvas band(900, 87);
        DRAWITEMSTRUCT item = ItemFor(band, IDC_HEADER_INSTALL);
        EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, HeaderStrings::kCartridgeInstall));
        ExpectPictureAt(band, 900 - 87, 87, 87);
        ASSERT_EQ(3u, probe.calls.size());
        const POINT want[] = {{36, 10}, {54, 31}, {54, 52}};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(want[i].x, probe.calls[i].x) << i;
            EXPECT_EQ(want[i].y, probe.calls[i].y) << i;
            EXPECT_EQ(21, probe.calls[i].font.lfHeight) << i;
            EXPECT_EQ(i == 0 ? 9 : 8, probe.calls[i].font.lfWidth) << i;
            EXPECT_LE(probe.calls[i].y + probe.calls[i].font.lfHeight, 87) << i;
        }
    }
}

TEST(WizardHeader, AnyItemRectanglePaintsOrDeclines) {
    // Bands of no height or width, or of a few pixels, give nothing to divide by; none may fault.
    MemoryCanvas canvas(60, 60);
    const RECT rects[] = {{0, 0, 40, -1}, {0, 0, 40, -4}, {0, 0, 40, 0}, {0, 0, 0, 58}, {0, 0, -7, 58},
                          {0, 0, 40, 1},  {0, 0, 40, 4},  {0, 0, 1, 1},  {0, 0, 40, 2000}};
    for (const RECT &rect : rects) {
        DRAWITEMSTRUCT item = ItemFor(canvas, IDC_HEADER_SETUP);
        item.rcItem = rect;
        EXPECT_EQ(rect.right > 0 && rect.bottom > 0,
                  WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, HeaderStrings::kSetupPrompt))
            << rect.right << " x " << rect.bottom;
    }
}

TEST(WizardHeader, EveryStringStartsALineAndLineFeedsSplitThemAllInsideTheBand) {
    // Eight lines in a band 90 high with the standard units: scaled to the band they would be 22 high
    // from 10 down (186 in all), so the line height drops to (90 - 10) / 8 = 10 and the characters
    // narrow with it (title 9 * 10 / 22, body 8 * 10 / 22); the title stands at 37, the body at 55.
    WindowsBaseUnits windows(8, 16);
    HeaderProbe probe;
    MemoryCanvas band(900, 90);
    DRAWITEMSTRUCT item = ItemFor(band, 1);
    const UINT strings[] = {IDS_INSTALL_TITLE, 9001, 9002, 9003, 9004, IDS_INSTALL_BODY2, 0};

    EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, strings));

    const struct {
        int y;
        const wchar_t *text;
    } want[] = {
        {10, L"Installera/Byta bläckpatron"},
        {20, L"Första raden"}, {30, L"Andra raden"},  // one line feed: two lines
        {40, L""},                                    // an empty string keeps a line of its own
        {50, L"Efter tom rad"},
        {60, L""}, {70, L""},                         // a lone line feed: two empty lines
        {80, L"bläckpatron."},
    };
    ASSERT_EQ(ARRAYSIZE(want), probe.calls.size());
    for (size_t i = 0; i < probe.calls.size(); ++i) {
        EXPECT_EQ(i == 0 ? 37 : 55, probe.calls[i].x) << i;
        EXPECT_EQ(want[i].y, probe.calls[i].y) << i;
        EXPECT_EQ(want[i].text, probe.calls[i].text) << i;
        EXPECT_EQ(10, probe.calls[i].font.lfHeight) << i;
        EXPECT_EQ(i == 0 ? 4 : 3, probe.calls[i].font.lfWidth) << i;
        EXPECT_LE(probe.calls[i].y + probe.calls[i].font.lfHeight, 90) << i;
    }
}

TEST(WizardHeader, LinesThatWouldRunIntoThePictureGetNarrowerCharacters) {
    // 250 wide at the standard height: the picture starts at 183, and the body line, 4 wide per
    // character from 36, would run far into it.
    HeaderProbe probe;
    MemoryCanvas band(250, 59);
    DRAWITEMSTRUCT item = ItemFor(band, 1);

    EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, HeaderStrings::kAlignment));

    ExpectPictureAt(band, 183, 67, 59);
    ASSERT_EQ(2u, probe.calls.size());
    EXPECT_EQ(5, probe.calls[0].font.lfWidth) << "the title fits as it is";
    EXPECT_LT(probe.calls[1].font.lfWidth, 4);
    EXPECT_EQ(14, probe.calls[1].font.lfHeight) << "the lines keep their height";
    for (const TextCall &call : probe.calls) EXPECT_LE(call.x + call.extent.cx, 183) << "ends left of the picture";
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
        EXPECT_TRUE(band.AllOf(0, 0, 234, 58, kWhite));
        ExpectPictureAt(band, 234, 66, 58);
    }
    EXPECT_TRUE(probe.calls.empty());
}

TEST(WizardHeader, SqueezesThePictureIntoANarrowBand) {
    // 58 high wants a picture 58 * 16 / 14 = 66 wide; a band 40 wide gets it at x 0, 40 wide.
    HeaderProbe probe;
    MemoryCanvas band(40, 58);
    band.Fill(kRed);
    DRAWITEMSTRUCT item = ItemFor(band, 1);
    EXPECT_TRUE(WizardHeader(nullptr, &item, IDB_HEADER_PRINTER, nullptr));
    ExpectPictureAt(band, 0, 40, 58);

    // 36 high: (36 * 16) / 14 = 41 pixels at the right end.
    MemoryCanvas other(200, 36);
    DRAWITEMSTRUCT otherItem = ItemFor(other, 1);
    EXPECT_TRUE(WizardHeader(nullptr, &otherItem, IDB_HEADER_PRINTER, nullptr));
    ExpectPictureAt(other, 159, 41, 36);
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
    // The text is drawn in the scheme's window-text colour on its window colour (black on white in
    // the standard scheme), whatever colours the context came with.
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), ground = GetSysColor(COLOR_WINDOW);
    const int area = (334 - 24) * (21 - 7);
    EXPECT_GT(area - band.CountOther(24, 7, 334, 21, text), 10);
    EXPECT_EQ(0, band.CountOther(0, 0, 20, 58, ground));
    EXPECT_EQ(0, band.CountOther(24, 7, 334, 21, RGB(0, 0, 128)) - area) << "nothing in the context's colour";
}

}  // namespace
