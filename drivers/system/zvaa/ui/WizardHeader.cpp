#include "ui/WizardHeader.h"

#include "core/ModelProfile.h"
#include "core/Owned.h"
#include "core/TextBuffers.h"

#include <strsafe.h>

namespace {

// The band as described at the standard scale: dialog base units (8, 16), with which the band's 36
// dialog units are 58 pixels high. Every measure below is given there in base units, so it follows
// the units the platform reports at every scale.
constexpr int kStandardUnitX = 8;
constexpr int kStandardUnitY = 16;
constexpr int kStandardBand = 58;
// Base units whose band differs by no more than this from the standard band's proportion agree with
// it (the dialog manager rounds the band's height to whole pixels).
constexpr int kAgreeingPixels = 1;

// The base units that measure the band. The platform's own where they agree with the band's height;
// where the band grew with the dialog's font at another scale than the reported units did, the
// platform's scaled to the band (num / den), so that the text keeps its place in the band.
struct BandUnits {
    long long h, v, num, den;
    bool agree;
    // numerator / denominator of a horizontal (X) or vertical (Y) base unit, truncated.
    int X(int numerator, int denominator) const { return static_cast<int>(numerator * h * num / (denominator * den)); }
    int Y(int numerator, int denominator) const { return static_cast<int>(numerator * v * num / (denominator * den)); }
};

BandUnits UnitsForBand(int band) {
    const LONG units = GetDialogBaseUnits();
    BandUnits u = {static_cast<SHORT>(LOWORD(units)), static_cast<SHORT>(HIWORD(units)), 1, 1, true};
    // Units no dialog could have count as the standard ones.
    if (u.h <= 0 || u.v <= 0) {
        u.h = kStandardUnitX;
        u.v = kStandardUnitY;
    }
    long long expected = u.v * kStandardBand / kStandardUnitY;
    if (expected < 1) expected = 1;
    if (band - expected > kAgreeingPixels || expected - band > kAgreeingPixels) {
        u.num = band;
        u.den = expected;
        u.agree = false;
    }
    return u;
}

HFONT CreateHeaderFont(int height, int width, int weight) {
    return CreateFontW(height, width, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, nullptr);
}

// Loads a string of the module; an id without a string gives an empty text.
int LoadHeaderString(UINT id, WCHAR (&text)[kTextChars]) {
    text[0] = L'\0';
    const int length = LoadStringW(Model().module, id, text, kTextChars);
    return length > 0 ? length : 0;
}

// Calls visit(line, text, length) for every line of the header: line 0 is the title, then every body
// string from the next line on, each line feed starting a new line and every string a line of its own.
// Returns the number of lines.
template <typename Visit> int ForEachLine(const UINT *strings, Visit visit) {
    WCHAR text[kTextChars];
    int length = LoadHeaderString(strings[0], text);
    visit(0, text, length);
    int line = 1;
    for (const UINT *id = strings + 1; *id != 0; ++id) {
        length = LoadHeaderString(*id, text);
        int start = 0;
        for (int i = 0; i < length; ++i) {
            if (text[i] != L'\n') continue;
            visit(line++, text + start, i - start);
            start = i + 1;
        }
        visit(line++, text + start, length - start);
    }
    return line;
}

// Where the text goes: the title at 3h, 7v/16 and the body lines at 4.5h, one line height (0.9v)
// apart, in fonts 0.8h (bold) and 0.7h wide. Where the band was scaled and the lines would still run
// past its lower edge, the line height is lowered until they fit.
struct HeaderLayout {
    int top, titleX, bodyX, lineHeight, titleWidth, bodyWidth;
};

HeaderLayout LayOut(const BandUnits &u, int band, int lines) {
    HeaderLayout layout = {u.Y(7, 16), u.X(3, 1), u.X(9, 2), u.Y(9, 10), u.X(8, 10), u.X(7, 10)};
    if (layout.lineHeight < 1) layout.lineHeight = 1;
    if (!u.agree && lines > 0 && layout.top + static_cast<long long>(lines) * layout.lineHeight > band) {
        int fitting = (band - layout.top) / lines;
        if (fitting < 1) fitting = 1;
        layout.titleWidth = static_cast<int>(static_cast<long long>(layout.titleWidth) * fitting / layout.lineHeight);
        layout.bodyWidth = static_cast<int>(static_cast<long long>(layout.bodyWidth) * fitting / layout.lineHeight);
        layout.lineHeight = fitting;
    }
    if (layout.titleWidth < 1) layout.titleWidth = 1;
    if (layout.bodyWidth < 1) layout.bodyWidth = 1;
    return layout;
}

// The widest of the lines the font draws (the title, or the body lines).
int WidestLine(HDC dc, HFONT font, const UINT *strings, bool title) {
    const SelectedObject selection(dc, font);
    int widest = 0;
    ForEachLine(strings, [&](int line, const WCHAR *text, int length) {
        SIZE size = {};
        if ((line == 0) == title && length > 0 && GetTextExtentPoint32W(dc, text, length, &size) && size.cx > widest)
            widest = size.cx;
    });
    return widest;
}

// A font for the title or the body whose lines end left of `limit` when they start at `x`: narrower
// characters where the scaled width would run into the picture. Empty when no font can be made.
UniqueGdi<HFONT> CreateFittingFont(HDC dc, const UINT *strings, bool title, int height, int width, int x, int limit) {
    const int weight = title ? FW_BOLD : FW_NORMAL;
    UniqueGdi<HFONT> font(CreateHeaderFont(height, width, weight));
    const int room = limit - x;
    if (!font || room <= 0) return font;
    int widest = WidestLine(dc, font.get(), strings, title);
    if (widest <= room) return font;
    // The average width sets the extent nearly in proportion; then narrower a step at a time.
    int narrower = width * room / widest;
    if (narrower >= width) narrower = width - 1;
    while (narrower >= 1) {
        HFONT candidate = CreateHeaderFont(height, narrower, weight);
        if (!candidate) break;
        font.reset(candidate);
        widest = WidestLine(dc, font.get(), strings, title);
        if (widest <= room) break;
        --narrower;
    }
    return font;
}

void DrawHeaderText(HDC dc, const UINT *strings, const BandUnits &units, int band, int pictureX) {
    const int lines = ForEachLine(strings, [](int, const WCHAR *, int) {});
    const HeaderLayout layout = LayOut(units, band, lines);
    const UniqueGdi<HFONT> title =
        CreateFittingFont(dc, strings, true, layout.lineHeight, layout.titleWidth, layout.titleX, pictureX);
    const UniqueGdi<HFONT> body =
        CreateFittingFont(dc, strings, false, layout.lineHeight, layout.bodyWidth, layout.bodyX, pictureX);
    // Selecting the context's own font changes nothing; the guard puts it back before the fonts go.
    const SelectedObject restoreFont(dc, GetCurrentObject(dc, OBJ_FONT));

    ForEachLine(strings, [&](int line, const WCHAR *text, int length) {
        const HFONT font = line == 0 ? title.get() : body.get();
        if (font) SelectObject(dc, font);
        TextOutW(dc, line == 0 ? layout.titleX : layout.bodyX, layout.top + line * layout.lineHeight, text, length);
    });
}

}  // namespace

bool WizardHeader(HWND /*dialog*/, const DRAWITEMSTRUCT *item, UINT bannerId, const UINT *strings) {
    if (!item || !item->hDC) return false;
    HDC dc = item->hDC;

    const int right = item->rcItem.right;
    const int bottom = item->rcItem.bottom;
    // A band without height or width has nothing to show.
    if (right <= 0 || bottom <= 0) return false;

    const ResourceBitmapDc banner(dc, Model().module, bannerId);
    if (!banner) return false;
    const BandUnits units = UnitsForBand(bottom);

    // The picture at the band's right end, bottom * v / (2h) wide (as wide as high at the standard
    // units); a band too narrow for it gets it squeezed to its whole width.
    const long long pictureWidth = bottom * units.v / (2 * units.h);
    const int x = pictureWidth >= right ? 0 : static_cast<int>(right - pictureWidth);

    // The scheme's window colours, so that the text stands out in every scheme (black on white in the
    // standard one, white on black in a high-contrast one).
    FillRect(dc, &item->rcItem, GetSysColorBrush(COLOR_WINDOW));
    StretchBlt(dc, x, 0, right - x, bottom, banner.dc(), 0, 0, banner.width(), banner.height(), SRCCOPY);

    if (strings && strings[0] != 0) {
        const COLORREF previousBk = SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        const COLORREF previousText = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawHeaderText(dc, strings, units, bottom, x);
        SetBkColor(dc, previousBk);
        SetTextColor(dc, previousText);
    }
    return true;
}

bool DescribeWizardHeader(HWND, const void *context, SpokenControl *spoken) {
    const auto *strings = static_cast<const UINT *>(context);
    if (!strings || strings[0] == 0) return false;
    ForEachLine(strings, [&](int line, const WCHAR *text, int length) {
        if (line == 0) {
            StringCchCopyNW(spoken->name, ARRAYSIZE(spoken->name), text, static_cast<size_t>(length));
            return;
        }
        if (spoken->description[0]) StringCchCatW(spoken->description, ARRAYSIZE(spoken->description), L" ");
        StringCchCatNW(spoken->description, ARRAYSIZE(spoken->description), text, static_cast<size_t>(length));
    });
    spoken->role = ROLE_SYSTEM_STATICTEXT;
    return true;
}
