// The string table, the dialog templates and the bitmaps as the module carries them.
#include <gtest/gtest.h>

#include <string>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "testbed/DialogTemplate.h"

namespace {

std::wstring LoadText(UINT id) {
    WCHAR text[512] = L"";
    const int length = LoadStringW(Model().module, id, text, ARRAYSIZE(text));
    return std::wstring(text, length > 0 ? length : 0);
}

TEST(StringTable, HoldsEveryTextExactly) {
    const struct {
        UINT id;
        const wchar_t *text;
    } table[] = {
        {1, L"Tillagd post i användargränssnittet enligt OEM"},
        {2, L"Skrivaren har kalibrerats."},
        {3, L"DLL-anpassning i användargränssnittet enligt OEM"},
        {5, L"Webbsidan laddas"},
        {6, L"Fel vid rensning av munstycken"},
        {8, L"Fel vid justering av bläckpatroner"},
        {16, L"Justering av bläckpatron"},
        {17, L"Justering av bläckpatroner efter installation förbättrar utskriftskvaliteten."},
        {18, L"Installera/Byta bläckpatron"},
        {19, L"Utför följande steg vid byte av"},
        {20, L"bläckpatron."},
        {21, L"Uninstall.lnk"},
        {22, L"Contact Zelvorn.lnk"},
        {23, L"Ingen bläckpatron"},
        {24, L"Ny bläckpatron"},
        {25, L"Gammal bläckpatron"},
        {26, L"Förbered justering"},
        {27, L"Justeringsprocessen kommer att se till att optimal utskriftskvalitet ges."},
        {29, L"Installation av bläckpatroner"},
        {30, L"Denna åtgärd hjälper till att identifiera bläckpatronerna"},
        {31, L"så att optimal utskriftskvalitet ges."},
        {34, L"Manuell pappersmatning"},
        {35, L"Instruktioner för användning av manuell pappersmatning."},
        {36, L"Fyll på med Banderollpapper"},
        {37, L"Instruktioner för utskrift av banderoller."},
        {38, L"Identifiering av Bläckpatroner"},
        {39, L"Kontrollera bläckpatronerna i din skrivare."},
        {40, L"Ogiltig kombination av bläckpatroner"},
        {44, L"Instruktioner vid slut på papper"},
        {45, L"Fyll på med papper i skrivaren."},
        {46, L"Instruktioner vid pappersstopp"},
        {47, L"Ett papper har fastnat. Följ instruktionerna nedan för att åtgärda problemet."},
        {50, L"Inställningarna kunde inte sparas."},
    };
    for (const auto &entry : table) EXPECT_EQ(entry.text, LoadText(entry.id)) << "string " << entry.id;

    // Ids outside the table have no text.
    for (UINT id : {4u, 7u, 9u, 10u, 28u, 33u, 41u, 42u, 43u, 48u}) EXPECT_EQ(L"", LoadText(id)) << id;
}

TEST(StringTable, CartridgeNamesCarryASevenCharacterOrderNumber) {
    const struct {
        UINT id;
        const wchar_t *name;
    } names[] = {{11, L"FÄRG"}, {12, L"FÄRG Högkapacitet"}, {13, L"SVART"}, {14, L"SVART Högkapacitet"}, {15, L"FOTO"}};
    for (const auto &n : names) {
        const std::wstring text = LoadText(n.id);
        const std::wstring head = std::wstring(n.name) + L" art.nr. ";
        ASSERT_EQ(head.size() + 7, text.size()) << text;
        EXPECT_EQ(head, text.substr(0, head.size()));
        for (wchar_t c : text.substr(head.size())) EXPECT_TRUE(iswalnum(c)) << text;
    }
    EXPECT_EQ(0u, LoadText(32).find(L"http://")) << "string 32 is a web address";
}

// Dialog templates: what the resource compiler made of the scripts, checked on the points the dialog
// code and the look depend on (layout shared by the wizards, the controls the procedures drive).

constexpr DWORD kNoId = 0xFFFFFFFF;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDefPush = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kHeader = kChild | BS_OWNERDRAW | BS_BITMAP | BS_FLAT;
constexpr DWORD kWizardStyle = 0x80C800C0;

DialogTemplateInfo Template(UINT id) {
    DialogTemplateInfo t;
    EXPECT_TRUE(ReadDialogTemplate(Model().module, id, &t)) << "dialog " << id;
    return t;
}

bool IsClass(const TemplateItem &item, const wchar_t *name) { return _wcsicmp(item.className.c_str(), name) == 0; }

void ExpectItem(const DialogTemplateInfo &t, DWORD id, const wchar_t *className, DWORD style, short x, short y,
                short cx, short cy, const wchar_t *text) {
    const TemplateItem *item = t.Find(id);
    ASSERT_NE(nullptr, item) << "control " << id;
    EXPECT_TRUE(IsClass(*item, className)) << id;
    EXPECT_EQ(style, item->style) << id << ": bits 0x" << std::hex << (style ^ item->style);
    EXPECT_EQ(x, item->x) << id;
    EXPECT_EQ(y, item->y) << id;
    EXPECT_EQ(cx, item->cx) << id;
    EXPECT_EQ(cy, item->cy) << id;
    if (text) {
        EXPECT_EQ(text, item->text) << id;
    }
}

TEST(DialogTemplates, WizardsShareOneLayout) {
    // Each radio group ends at the control after it (WS_GROUP): the OK button of 154 and the lower
    // line of 150.
    const struct {
        UINT id;
        short cx, cy, upper, lower;
        DWORD header;
        const wchar_t *headerText, *caption, *ok;
        short okX, buttonY, buttonW;
        const wchar_t *cancel;
        short cancelX, cancelW;
        DWORD lineStyle, okGroup, lowerLineGroup;
    } wizards[] = {
        {104, 331, 222, 334, 334, 1062, L"", L"Skrivarjustering", L"OK", 193, 202, 50, L"Avbryt", 259, 50, SS_BLACKFRAME, 0, 0},
        {113, 376, 223, 376, 374, 1061, L"", L"", L"Fortsätt >", 226, 202, 56, L"Avbryt utskrift", 288, 56, SS_WHITEFRAME,
         0, 0},
        {150, 424, 223, 423, 423, 1064, L"", L"", L"Fortsätt >", 193, 202, 56, nullptr, 0, 0, SS_WHITEFRAME, 0, WS_GROUP},
        {151, 331, 222, 334, 334, 1066, L"", L"", L"Fortsätt >", 193, 201, 56, L"Avbryt utskrift", 255, 56, SS_WHITEFRAME,
         0, 0},
        {152, 331, 222, 334, 334, 1067, L"", L"", L"Fortsätt>", 193, 201, 56, L"Avbryt utskriften", 255, 62, SS_WHITEFRAME,
         0, 0},
        {153, 331, 222, 334, 334, 1068, L"Banderollarkmatning", L"", L"Fortsätt >", 193, 201, 56, L"Avbryt utskrift", 255, 56,
         SS_WHITEFRAME, 0, 0},
        {154, 378, 223, 378, 378, 1074, L"", L"", L"Fortsätt >", 225, 202, 56, L"Avbryt utskrift", 287, 56, SS_WHITEFRAME,
         WS_GROUP, 0},
    };
    for (const auto &w : wizards) {
        SCOPED_TRACE("dialog " + std::to_string(w.id));
        const DialogTemplateInfo t = Template(w.id);
        EXPECT_TRUE(t.extended);
        EXPECT_EQ(kWizardStyle, t.style);
        EXPECT_EQ(0u, t.exStyle);
        EXPECT_EQ(w.cx, t.cx);
        EXPECT_EQ(w.cy, t.cy);
        EXPECT_EQ(w.caption, t.caption);
        EXPECT_EQ(L"MS Shell Dlg", t.face);
        EXPECT_EQ(8, t.pointSize);
        ExpectItem(t, w.header, L"Button", kHeader, 0, 0, w.cx, 36, w.headerText);
        ExpectItem(t, IDOK, L"Button", kDefPush | w.okGroup, w.okX, w.buttonY, w.buttonW, 14, w.ok);
        if (w.cancel) {
            ExpectItem(t, IDCANCEL, L"Button", kPush, w.cancelX, w.buttonY, w.cancelW, 14, w.cancel);
        } else {
            EXPECT_EQ(nullptr, t.Find(IDCANCEL));
        }
        // The two separator lines: one unit high, sunken, at y 36 and 193.
        int lines = 0;
        for (const TemplateItem &item : t.items) {
            if (!IsClass(item, L"Static") || (item.style & SS_TYPEMASK) != w.lineStyle) continue;
            ++lines;
            EXPECT_EQ(kNoId, item.id);
            EXPECT_EQ(kChild | w.lineStyle | (item.y == 193 ? w.lowerLineGroup : 0), item.style);
            EXPECT_EQ(DWORD(WS_EX_STATICEDGE), item.exStyle);
            EXPECT_EQ(0, item.x);
            EXPECT_EQ(1, item.cy);
            EXPECT_TRUE(item.y == 36 || item.y == 193) << item.y;
            EXPECT_EQ(item.y == 36 ? w.upper : w.lower, item.cx);
        }
        EXPECT_EQ(2, lines);
    }
}

TEST(DialogTemplates, MaintenancePageIsAPlainChildTemplateWithItsOwnFont) {
    const DialogTemplateInfo t = Template(IDD_MAINTENANCE_PAGE);
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(0x48C00040u, t.style);
    EXPECT_EQ(268, t.cx);
    EXPECT_EQ(206, t.cy);
    EXPECT_EQ(L"Underhåll av bläckpatron", t.caption);
    EXPECT_EQ(L"Arial", t.face);
    EXPECT_EQ(8, t.pointSize);
    // Template order is the tab order: the four actions first.
    const DWORD order[] = {1001, 1004, 1002, 1003, 1005, 1037, 1038, 1051, 1053, 1054, 1055};
    ASSERT_EQ(ARRAYSIZE(order), t.items.size());
    for (size_t i = 0; i < t.items.size(); ++i) EXPECT_EQ(order[i], t.items[i].id) << i;
    ExpectItem(t, 1001, L"Button", kPush, 90, 136, 95, 14, L"&Installera/Byta bläckpatron");
    ExpectItem(t, 1004, L"Button", kPush, 90, 152, 95, 14, L"&Rensa munstycken");
    ExpectItem(t, 1002, L"Button", kPush, 90, 168, 95, 14, L"&Justera skrivhuvuden");
    ExpectItem(t, 1003, L"Button", kPush, 90, 184, 95, 14, L"&Beställ förbrukningsartiklar");
    ExpectItem(t, 1005, L"Button", kChild | BS_GROUPBOX, 7, 8, 253, 114, L"Bläcknivåer");
    ExpectItem(t, 1051, L"Static", kChild | WS_GROUP | SS_LEFT, 68, 99, 85, 19, L"Vänster typ");
    ExpectItem(t, 1053, L"Static", kChild | WS_GROUP | SS_LEFT, 159, 98, 85, 19, L"Höger typ");
    ExpectItem(t, 1054, L"Button", kChild | BS_OWNERDRAW | BS_BITMAP, 79, 23, 27, 58, L"");
    ExpectItem(t, 1055, L"Button", kChild | BS_OWNERDRAW | BS_BITMAP, 173, 23, 27, 58, L"");
}

TEST(DialogTemplates, CartridgeDialogsGiveEachHolderAListAndANewOrUsedGroup) {
    const DWORD combo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;  // unsorted: entry order is meaning
    const DWORD firstRadio = kChild | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON;
    const DWORD radio = kChild | BS_AUTORADIOBUTTON;
    const wchar_t *isNew = L"Detta är en ny bläckpatron.";
    const wchar_t *used = L"Jag har skrivit ut med denna patron tidigare.";
    {
        SCOPED_TRACE("dialog 154");
        const DialogTemplateInfo t = Template(IDD_CARTRIDGE_IDENTIFY);
        ExpectItem(t, 1036, L"ComboBox", combo, 23, 117, 145, 63, L"");
        ExpectItem(t, 1070, L"Button", firstRadio, 23, 138, 116, 9, isNew);
        ExpectItem(t, 1071, L"Button", radio, 23, 148, 172, 12, used);
        ExpectItem(t, 1039, L"ComboBox", combo, 199, 118, 145, 62, L"");
        ExpectItem(t, 1072, L"Button", firstRadio, 199, 138, 116, 9, isNew);
        ExpectItem(t, 1073, L"Button", radio, 199, 148, 172, 12, used);
        ExpectItem(t, 1037, L"Static", kChild | WS_GROUP | SS_LEFT, 23, 103, 82, 11, L"&Vänster bläckpatron:");
        ExpectItem(t, 1038, L"Static", kChild | WS_GROUP | SS_LEFT, 199, 103, 82, 11, L"&Höger bläckpatron:");
    }
    {
        SCOPED_TRACE("dialog 113");
        const DialogTemplateInfo t = Template(IDD_CARTRIDGE_INSTALL);
        ExpectItem(t, 1036, L"ComboBox", combo, 21, 124, 145, 63, L"");
        ExpectItem(t, 1070, L"Button", firstRadio, 21, 145, 116, 9, isNew);
        ExpectItem(t, 1071, L"Button", radio, 21, 155, 172, 12, used);
        ExpectItem(t, 1039, L"ComboBox", combo, 197, 125, 145, 62, L"");
        ExpectItem(t, 1072, L"Button", firstRadio, 197, 145, 116, 9, isNew);
        ExpectItem(t, 1073, L"Button", radio, 197, 155, 172, 12, used);
        ExpectItem(t, 1037, L"Static", kChild | WS_GROUP | SS_LEFT, 21, 110, 82, 11, L"&Vänster bläckpatron:");
        ExpectItem(t, 1038, L"Static", kChild | WS_GROUP | SS_LEFT, 197, 110, 82, 11, L"&Höger bläckpatron:");
    }
}

TEST(DialogTemplates, AlignmentValueGroupsStartHidden) {
    const DialogTemplateInfo t = Template(IDD_ALIGNMENT);
    const struct {
        DWORD group;
        short gx, gy;
        DWORD label;
        short lx, ly;
        DWORD edit;
        short ex, ey;
        DWORD spin;
        short sx, sy;
        DWORD example;
        short bx, by;
        const wchar_t *title, *letter;
    } groups[] = {
        {1028, 12, 88, 1012, 71, 96, 1008, 70, 110, 1009, 97, 109, 1035, 17, 97, L"&A", L"A"},
        {1029, 115, 88, 1013, 173, 96, 1014, 172, 110, 1015, 199, 109, 1036, 120, 97, L"&B", L"B"},
        {1030, 219, 88, 1024, 277, 96, 1016, 275, 110, 1017, 303, 109, 1037, 224, 97, L"&C", L"C"},
        {1031, 12, 136, 1025, 71, 144, 1018, 71, 159, 1019, 99, 159, 1038, 17, 146, L"&D", L"D"},
        {1032, 115, 136, 1026, 173, 144, 1020, 171, 159, 1021, 199, 159, 1039, 120, 146, L"&E", L"E"},
        {1033, 220, 136, 1027, 278, 144, 1022, 277, 159, 1023, 305, 159, 1040, 225, 146, L"&F", L"F"},
    };
    for (const auto &g : groups) {
        SCOPED_TRACE(g.letter);
        ExpectItem(t, g.group, L"Button", WS_CHILD | WS_GROUP | BS_GROUPBOX, g.gx, g.gy, 99, 48, g.title);
        ExpectItem(t, g.label, L"Static", WS_CHILD | SS_LEFT, g.lx, g.ly, 33, 8, L"Exempel:");
        ExpectItem(t, g.edit, L"Edit", WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, g.ex, g.ey, 27, 16, L"");
        ExpectItem(t, g.spin, L"ScrollBar", WS_CHILD | SBS_VERT, g.sx, g.sy, 8, 16, L"");
        ExpectItem(t, g.example, L"Button", WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, g.bx, g.by, 41, 36, g.letter);
    }
}

TEST(DialogTemplates, OwnControlsOfThePrompts) {
    const DialogTemplateInfo setup = Template(IDD_SETUP_PROMPT);
    // Both choices are tab stops of one group: checking one clears the other.
    ExpectItem(setup, 1069, L"Button", kChild | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 19, 125, 398, 14, nullptr);
    ExpectItem(setup, 1070, L"Button", kChild | WS_TABSTOP | BS_AUTORADIOBUTTON, 19, 142, 301, 14,
               L"Nej. Fortsätt utskriften. Du kommer att bli påmind nästa gång du begär utskrift.");
    const DialogTemplateInfo prep = Template(IDD_ALIGN_PREP);
    ExpectItem(prep, 1075, L"Button", kChild | BS_OWNERDRAW, 167, 62, 150, 76, L"Button1");
    // Centred and left-aligned texts of the paper prompts.
    const DialogTemplateInfo manual = Template(IDD_MANUAL_FEED);
    int centred = 0;
    for (const TemplateItem &item : manual.items)
        if (IsClass(item, L"Static") && (item.style & SS_TYPEMASK) == SS_CENTER) ++centred;
    EXPECT_EQ(2, centred);
    const DialogTemplateInfo banner = Template(IDD_BANNER);
    centred = 0;
    for (const TemplateItem &item : banner.items)
        if (IsClass(item, L"Static") && (item.style & SS_TYPEMASK) == SS_CENTER) ++centred;
    EXPECT_EQ(4, centred);
}

// Bitmaps ------------------------------------------------------------------------------------

struct BitmapShape {
    int width, height, bits;
};

bool ReadBitmapShape(UINT id, BitmapShape *shape) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(Model().module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return false;
    DIBSECTION dib = {};
    const bool ok = GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib;
    shape->width = dib.dsBmih.biWidth;
    shape->height = dib.dsBmih.biHeight < 0 ? -dib.dsBmih.biHeight : dib.dsBmih.biHeight;
    shape->bits = dib.dsBmih.biBitCount;
    DeleteObject(bitmap);
    return ok;
}

TEST(Bitmaps, HaveTheirSizesAndColourDepths) {
    std::vector<std::pair<UINT, BitmapShape>> want = {
        {106, {64, 28, 4}}, {112, {64, 28, 4}}, {108, {63, 27, 4}}, {109, {63, 27, 4}},
        {110, {63, 27, 4}}, {111, {63, 27, 4}}, {151, {59, 59, 24}}, {155, {223, 115, 8}},
    };
    for (UINT id = 119; id <= 147; ++id) want.push_back({id, {25, 63, 8}});
    for (const auto &w : want) {
        BitmapShape got = {};
        ASSERT_TRUE(ReadBitmapShape(w.first, &got)) << "bitmap " << w.first;
        EXPECT_EQ(w.second.width, got.width) << w.first;
        EXPECT_EQ(w.second.height, got.height) << w.first;
        EXPECT_EQ(w.second.bits, got.bits) << w.first;
    }
    BitmapShape none;
    EXPECT_FALSE(ReadBitmapShape(IDB_ALIGN_EXAMPLE_NONE, &none)) << "there is no bitmap 156";
}

// Reads one pixel of a bitmap resource as RGB.
COLORREF PixelOf(UINT id, int x, int y) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(Model().module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return c;
}

TEST(Bitmaps, KeyedPicturesShowPureGreenWhereTheButtonShowsThrough) {
    // Every gauge has a full-height key strip at its right edge and key in its top corners.
    for (UINT id = 119; id <= 147; ++id) {
        for (int y = 0; y < 63; y += 7) EXPECT_EQ(RGB(0, 255, 0), PixelOf(id, 24, y)) << id << " at y " << y;
        EXPECT_EQ(RGB(0, 255, 0), PixelOf(id, 0, 0)) << id;
        EXPECT_NE(RGB(0, 255, 0), PixelOf(id, 10, 40)) << id << ": the gauge itself is not key";
    }
    EXPECT_EQ(RGB(0, 255, 0), PixelOf(IDB_ALIGN_ILLUSTRATION, 0, 0));
    EXPECT_EQ(RGB(0, 255, 0), PixelOf(IDB_ALIGN_ILLUSTRATION, 222, 114));
    // The header picture stands on white.
    EXPECT_EQ(RGB(255, 255, 255), PixelOf(IDB_HEADER_PRINTER, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), PixelOf(IDB_HEADER_PRINTER, 58, 0));
}

TEST(Bitmaps, GaugesFillAsTheLevelRises) {
    // Counting ink pixels up the window of the black gauges: more ink at each step from 3 to 8.
    auto inkRows = [](UINT id) {
        int rows = 0;
        for (int y = 8; y <= 57; ++y)
            if (GetRValue(PixelOf(id, 8, y)) < 160) ++rows;
        return rows;
    };
    int previous = -1;
    for (int step = 0; step <= 8; ++step) {
        const int rows = inkRows(IDB_INK_BLACK_FIRST + step);
        EXPECT_GT(rows, previous) << "step " << step;
        previous = rows;
    }
    EXPECT_EQ(50, inkRows(IDB_INK_BLACK_FIRST + 8)) << "step 8 is full";
}

}  // namespace
