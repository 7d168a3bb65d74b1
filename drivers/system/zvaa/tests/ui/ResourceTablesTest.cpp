// The string table, the dialog templates and the bitmaps as the module carries them.
#include <gtest/gtest.h>

#include <string>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "support/DialogTemplate.h"

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

// Dialog templates ---------------------------------------------------------------------------

constexpr DWORD kNoId = 0xFFFFFFFF;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDefPush = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kLeftText = kChild | WS_GROUP | SS_LEFT;
constexpr DWORD kCentredText = kChild | WS_GROUP | SS_CENTER;
constexpr DWORD kHeader = kChild | BS_OWNERDRAW | BS_BITMAP | BS_FLAT;
constexpr DWORD kWhiteLine = kChild | SS_WHITEFRAME;
constexpr DWORD kBlackLine = kChild | SS_BLACKFRAME;
constexpr DWORD kCombo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kFirstRadio = kChild | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD kRadio = kChild | BS_AUTORADIOBUTTON;
constexpr DWORD kWizardStyle = 0x80C800C0;

struct Item {
    DWORD id;
    const wchar_t *className;
    DWORD style;
    short x, y, cx, cy;
    const wchar_t *text;
    DWORD exStyle = 0;
};

const Item kWhite36(short w) { return {kNoId, L"Static", kWhiteLine, 0, 36, w, 1, L"", WS_EX_STATICEDGE}; }
const Item kWhite193(short w) { return {kNoId, L"Static", kWhiteLine, 0, 193, w, 1, L"", WS_EX_STATICEDGE}; }

void ExpectTemplate(UINT dialogId, bool extended, DWORD style, short cx, short cy, const wchar_t *caption,
                    const wchar_t *face, const std::vector<Item> &items) {
    SCOPED_TRACE("dialog " + std::to_string(dialogId));
    DialogTemplateInfo t;
    ASSERT_TRUE(ReadDialogTemplate(Model().module, dialogId, &t));
    EXPECT_EQ(extended, t.extended);
    EXPECT_EQ(style, t.style);
    EXPECT_EQ(0u, t.exStyle);
    EXPECT_EQ(0, t.x);
    EXPECT_EQ(0, t.y);
    EXPECT_EQ(cx, t.cx);
    EXPECT_EQ(cy, t.cy);
    EXPECT_EQ(caption, t.caption);
    EXPECT_EQ(8, t.pointSize);
    EXPECT_EQ(face, t.face);
    ASSERT_EQ(items.size(), t.items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        const Item &want = items[i];
        const TemplateItem &got = t.items[i];
        EXPECT_EQ(want.id == kNoId && !extended ? 0xFFFFu : want.id, got.id);
        EXPECT_EQ(0, _wcsicmp(want.className, got.className.c_str())) << got.className;
        EXPECT_EQ(want.style, got.style) << std::hex << (want.style ^ got.style);
        EXPECT_EQ(want.exStyle, got.exStyle);
        EXPECT_EQ(want.x, got.x);
        EXPECT_EQ(want.y, got.y);
        EXPECT_EQ(want.cx, got.cx);
        EXPECT_EQ(want.cy, got.cy);
        EXPECT_EQ(want.text, got.text);
    }
}

TEST(DialogTemplates, MaintenancePage106) {
    const DWORD owner = kChild | BS_OWNERDRAW | BS_BITMAP;
    ExpectTemplate(IDD_MAINTENANCE_PAGE, false, 0x48C00040, 268, 206, L"Underhåll av bläckpatron", L"Arial",
                   {
                       {1001, L"Button", kPush, 90, 136, 95, 14, L"&Installera/Byta bläckpatron"},
                       {1004, L"Button", kPush, 90, 152, 95, 14, L"&Rensa munstycken"},
                       {1002, L"Button", kPush, 90, 168, 95, 14, L"&Justera skrivhuvuden"},
                       {1003, L"Button", kPush, 90, 184, 95, 14, L"&Beställ förbrukningsartiklar"},
                       {1005, L"Button", kChild | BS_GROUPBOX, 7, 8, 253, 114, L"Bläcknivåer"},
                       {1037, L"Static", kLeftText, 68, 87, 72, 10, L"Vänster bläckpatron:"},
                       {1038, L"Static", kLeftText, 159, 87, 74, 9, L"Höger bläckpatron:"},
                       {1051, L"Static", kLeftText, 68, 99, 85, 19, L"Vänster typ"},
                       {1053, L"Static", kLeftText, 159, 98, 85, 19, L"Höger typ"},
                       {1054, L"Button", owner, 79, 23, 27, 58, L""},
                       {1055, L"Button", owner, 173, 23, 27, 58, L""},
                   });
}

std::vector<Item> CartridgeItems(short left, short right, short top, bool install) {
    // The two holders' controls; the right combo is one unit lower and shorter in both dialogs.
    const short labelY = top, comboY = top + 14, newY = top + 35, usedY = top + 45;
    return {
        {1037, L"Static", kLeftText, left, labelY, 82, 11, L"&Vänster bläckpatron:"},
        {1036, L"ComboBox", kCombo, left, comboY, 145, 63, L""},
        {1070, L"Button", kFirstRadio, left, newY, 116, 9, L"Detta är en ny bläckpatron."},
        {1071, L"Button", kRadio, left, usedY, static_cast<short>(install ? 156 : 153), 12,
         L"Jag har skrivit ut med denna patron tidigare."},
        {1038, L"Static", kLeftText, right, labelY, 82, 11, L"&Höger bläckpatron:"},
        {1039, L"ComboBox", kCombo, right, static_cast<short>(comboY + 1), 145, 62, L""},
        {1072, L"Button", kFirstRadio, right, newY, 116, 9, L"Detta är en ny bläckpatron."},
        {1073, L"Button", kRadio, right, usedY, 150, 12, L"Jag har skrivit ut med denna patron tidigare."},
    };
}

TEST(DialogTemplates, CartridgeIdentify154) {
    std::vector<Item> items = {
        {1074, L"Button", kHeader, 0, 0, 346, 36, L""},
        kWhite36(346),
        {kNoId, L"Static", kLeftText, 23, 50, 54, 11, L"Kom ihåg:"},
        {kNoId, L"Static", kLeftText, 23, 63, 225, 11, L"Avlägsna skyddstejpen om du installerat en ny bläckpatron."},
        {kNoId, L"Static", kLeftText, 23, 85, 278, 11, L"Kontrollera informationen nedan på bläckpatronen."},
    };
    for (const Item &i : CartridgeItems(23, 183, 103, false)) items.push_back(i);
    items.push_back({1, L"Button", kDefPush, 193, 202, 56, 14, L"Fortsätt >"});
    items.push_back({2, L"Button", kPush, 255, 202, 56, 14, L"Avbryt utskrift"});
    items.push_back(kWhite193(346));
    ExpectTemplate(IDD_CARTRIDGE_IDENTIFY, true, kWizardStyle, 346, 223, L"", L"MS Shell Dlg", items);
}

TEST(DialogTemplates, CartridgeInstall113) {
    std::vector<Item> items = {
        {1061, L"Button", kHeader, 0, 0, 343, 36, L""},
        kWhite36(343),
        {kNoId, L"Static", kLeftText, 19, 41, 278, 12, L"1. Öppna skrivarlocket."},
        {kNoId, L"Static", kLeftText, 19, 56, 278, 11, L"2. Ta bort den gamla bläckpatronen ur hållaren."},
        {kNoId, L"Static", kLeftText, 19, 73, 278, 19,
         L"3. Sätt i den nya bläckpatronen. Den skall snäppa fast. Kom ihåg att avlägsna skyddstejpen från patronen."},
        {kNoId, L"Static", kLeftText, 19, 98, 278, 11, L"4. Ange vilken bläckpatron som för närvarande är installerad."},
    };
    for (const Item &i : CartridgeItems(21, 181, 110, true)) items.push_back(i);
    items.push_back({kNoId, L"Static", kLeftText, 19, 180, 278, 11, L"5. Stäng locket och klicka på Fortsätt."});
    items.push_back({1, L"Button", kDefPush, 193, 202, 56, 14, L"Fortsätt >"});
    items.push_back({2, L"Button", kPush, 255, 202, 56, 14, L"Avbryt utskrift"});
    items.push_back(kWhite193(341));
    ExpectTemplate(IDD_CARTRIDGE_INSTALL, true, kWizardStyle, 343, 223, L"", L"MS Shell Dlg", items);
}

TEST(DialogTemplates, Alignment104) {
    std::vector<Item> items = {
        {1, L"Button", kDefPush, 193, 202, 50, 14, L"OK"},
        {2, L"Button", kPush, 259, 202, 50, 14, L"Avbryt"},
        {kNoId, L"Static", kLeftText, 7, 39, 310, 18,
         L"1) Skrivaren skriver ut en testsida. När denna är klar, skall du hitta det nummer i varje kategori som "
         L"ligger närmast att bilda en rak linje."},
        {kNoId, L"Static", kLeftText, 7, 59, 197, 8, L"2) Ändra numren nedan till de nummer du valt."},
        {kNoId, L"Static", kLeftText, 7, 71, 192, 8, L"3) Klicka OK."},
    };
    const struct {
        const wchar_t *title, *letter;
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
    } groups[] = {
        {L"&A", L"A", 1028, 12, 88, 1012, 71, 96, 1008, 70, 110, 1009, 97, 109, 1035, 17, 97},
        {L"&B", L"B", 1029, 115, 88, 1013, 173, 96, 1014, 172, 110, 1015, 199, 109, 1036, 120, 97},
        {L"&C", L"C", 1030, 219, 88, 1024, 277, 96, 1016, 275, 110, 1017, 303, 109, 1037, 224, 97},
        {L"&D", L"D", 1031, 12, 136, 1025, 71, 144, 1018, 71, 159, 1019, 99, 159, 1038, 17, 146},
        {L"&E", L"E", 1032, 115, 136, 1026, 173, 144, 1020, 171, 159, 1021, 199, 159, 1039, 120, 146},
        {L"&F", L"F", 1033, 220, 136, 1027, 278, 144, 1022, 277, 159, 1023, 305, 159, 1040, 225, 146},
    };
    for (const auto &g : groups) {
        items.push_back({g.group, L"Button", WS_CHILD | WS_GROUP | BS_GROUPBOX, g.gx, g.gy, 99, 48, g.title});
        items.push_back({g.label, L"Static", WS_CHILD | SS_LEFT, g.lx, g.ly, 29, 8, L"Exempel:"});
        items.push_back({g.edit, L"Edit", WS_CHILD | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, g.ex, g.ey, 27,
                         16, L""});
        items.push_back({g.spin, L"ScrollBar", WS_CHILD | SBS_VERT, g.sx, g.sy, 8, 16, L""});
        items.push_back({g.example, L"Button", WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, g.bx, g.by, 41, 36, g.letter});
    }
    items.push_back({kNoId, L"Static", kBlackLine, 0, 193, 334, 1, L"", WS_EX_STATICEDGE});
    items.push_back({kNoId, L"Static", kBlackLine, 0, 36, 334, 1, L"", WS_EX_STATICEDGE});
    items.push_back({1062, L"Button", kHeader, 0, 0, 331, 36, L""});
    ExpectTemplate(IDD_ALIGNMENT, true, kWizardStyle, 331, 222, L"Skrivarjustering", L"MS Shell Dlg", items);
}

TEST(DialogTemplates, AlignPrep151) {
    ExpectTemplate(
        IDD_ALIGN_PREP, true, kWizardStyle, 331, 222, L"", L"MS Shell Dlg",
        {
            {1, L"Button", kDefPush, 193, 201, 56, 14, L"Fortsätt >"},
            {2, L"Button", kPush, 255, 201, 56, 14, L"Avbryt utskrift"},
            {kNoId, L"Static", kLeftText, 18, 90, 136, 26,
             L"Sätt papper i din skrivare och klicka på Fortsätt för att skriva ut testsidan."},
            kWhite193(334),
            kWhite36(334),
            {1066, L"Button", kHeader, 0, 0, 331, 36, L""},
            {kNoId, L"Static", kLeftText, 18, 56, 136, 26,
             L"Bläckpatronerna skall justeras varje gång de byts ut så att bästa utskriftskvalitet säkerställs."},
            {kNoId, L"Static", kLeftText, 19, 124, 136, 34, L"Använd vanligt papper vid utskrift av justeringssidan."},
            {1075, L"Button", kChild | BS_OWNERDRAW, 167, 62, 150, 76, L"Button1"},
        });
}

TEST(DialogTemplates, SetupPrompt150) {
    ExpectTemplate(
        IDD_SETUP_PROMPT, true, kWizardStyle, 380, 223, L"", L"MS Shell Dlg",
        {
            {1, L"Button", kDefPush, 193, 202, 56, 14, L"Fortsätt >"},
            {1069, L"Button", kFirstRadio, 19, 125, 358, 14,
             L"Ja. Detta kommer att avbryta ditt pågående utskriftsjobb, men låter dig utnyttja de fördelar som beskrivs "
             L"ovan."},
            {1070, L"Button", kChild | WS_TABSTOP | BS_AUTORADIOBUTTON, 19, 142, 301, 14,
             L"Nej. Fortsätt utskriften. Du kommer att bli påmind nästa gång du begär utskrift."},
            kWhite193(379),
            kWhite36(379),
            {1064, L"Button", kHeader, 0, 0, 380, 36, L""},
            {kNoId, L"Static", kLeftText, 19, 59, 278, 34,
             L"Som avslutning på installationsprocessen, måste skrivarprogramvaran ställa in bläckpatronerna för att "
             L"garantera korrekta bläcknivåer och hög utskriftskvalitet."},
            {kNoId, L"Static", kLeftText, 19, 108, 278, 11, L"Vill du utföra inställning av bläckpatroner nu?"},
        });
}

TEST(DialogTemplates, ManualFeed152) {
    ExpectTemplate(
        IDD_MANUAL_FEED, true, kWizardStyle, 331, 222, L"", L"MS Shell Dlg",
        {
            {1, L"Button", kDefPush, 193, 201, 56, 14, L"Fortsätt>"},
            {2, L"Button", kPush, 255, 201, 56, 14, L"Avbryt utskriften"},
            kWhite193(334),
            kWhite36(334),
            {1067, L"Button", kHeader, 0, 0, 331, 36, L""},
            {kNoId, L"Static", kCentredText, 15, 70, 194, 8, L"1. Fyll på med papper i facket för manuell pappersmatning."},
            {kNoId, L"Static", kLeftText, 19, 118, 146, 8, L"2. Tryck på Fortsätt för att påbörja utskriften."},
            {kNoId, L"Static", kCentredText, 24, 94, 191, 8, L"- Mata fram arket så att skrivarens matning tar tag i det."},
            {kNoId, L"Static", kLeftText, 84, 142, 207, 8, L"OBS! Upprepa steg 1 för varje enskild sida som ska skrivas ut."},
            {kNoId, L"Static", kLeftText, 84, 158, 186, 8, L"Detta meddelande kommer inte att visas igen."},
        });
}

TEST(DialogTemplates, Banner153) {
    ExpectTemplate(
        IDD_BANNER, true, kWizardStyle, 331, 222, L"", L"MS Shell Dlg",
        {
            {1, L"Button", kDefPush, 193, 201, 56, 14, L"Fortsätt >"},
            {2, L"Button", kPush, 255, 201, 56, 14, L"Avbryt utskrift"},
            kWhite193(334),
            kWhite36(334),
            {1068, L"Button", kHeader, 0, 0, 331, 36, L"Banderollarkmatning"},
            {kNoId, L"Static", kCentredText, 38, 66, 187, 8, L"1. Mata i översta arket banderollpapper i arkmataren."},
            {kNoId, L"Static", kCentredText, 41, 84, 132, 8, L"2. Tryck på Fortsätt-knappen nedan."},
            {kNoId, L"Static", kLeftText, 19, 45, 91, 11, L"Före utskrift:"},
            {kNoId, L"Static", kCentredText, 45, 138, 168, 8, L"1. Riv av banderollpapperet på skrivarens baksida."},
            {kNoId, L"Static", kCentredText, 46, 156, 221, 8,
             L"2. Tryck på knappen för pappersmatning för att mata ut banderollen."},
            {kNoId, L"Static", kLeftText, 19, 117, 91, 11, L"Efter utskrift:"},
        });
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
