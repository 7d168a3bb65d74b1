#include "ui/WizardHeader.h"

#include "core/ModelProfile.h"
#include "core/Owned.h"
#include "core/TextBuffers.h"

namespace {

// The band's look at the standard scale (96 DPI), where its 36 dialog units are 59 pixels high. Every
// measure grows with the band, which grows with the dialog's own font, so the text keeps its place in
// the band at every scale; at the standard scale the band looks exactly as it always has.
constexpr int kStandardBand = 59;
constexpr int kStandardTop = 7;
constexpr int kStandardTitleX = 24;
constexpr int kStandardBodyX = 36;
constexpr int kStandardLine = 14;
constexpr int kStandardTitleWidth = 5;
constexpr int kStandardBodyWidth = 4;
// The printer picture is 16/14 of the band's height wide (67 of 59 at the standard scale).
constexpr int kPictureWidthPerHeight[2] = {16, 14};

int Scaled(int standard, int band) { return standard * band / kStandardBand; }

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

// Where the text goes in a band of the given height with `lines` lines: the standard measures scaled,
// the line height lowered where the lines would otherwise run past the band's lower edge.
struct HeaderLayout {
    int top, titleX, bodyX, lineHeight, titleWidth, bodyWidth;
};

HeaderLayout LayOut(int band, int lines) {
    HeaderLayout layout = {Scaled(kStandardTop, band),        Scaled(kStandardTitleX, band),
                           Scaled(kStandardBodyX, band),      Scaled(kStandardLine, band),
                           Scaled(kStandardTitleWidth, band), Scaled(kStandardBodyWidth, band)};
    if (lines > 0 && layout.top + lines * layout.lineHeight > band) {
        const int fitting = (band - layout.top) / lines;
        layout.titleWidth = layout.titleWidth * fitting / layout.lineHeight;
        layout.bodyWidth = layout.bodyWidth * fitting / layout.lineHeight;
        layout.lineHeight = fitting;
    }
    if (layout.lineHeight < 1) layout.lineHeight = 1;
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

void DrawHeaderText(HDC dc, const UINT *strings, int band, int pictureX) {
    const int lines = ForEachLine(strings, [](int, const WCHAR *, int) {});
    const HeaderLayout layout = LayOut(band, lines);
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

    const ResourceBitmapDc banner(dc, Model().module, bannerId);
    if (!banner) return false;

    const int right = item->rcItem.right;
    const int bottom = item->rcItem.bottom;

    // The picture at the band's right end, as wide as the band's height makes it; a band too narrow
    // for it gets it squeezed to its whole width.
    int x = right - bottom * kPictureWidthPerHeight[0] / kPictureWidthPerHeight[1];
    if (x < 0) x = 0;

    // The scheme's window colours, so that the text stands out in every scheme (black on white in the
    // standard one, white on black in a high-contrast one).
    FillRect(dc, &item->rcItem, GetSysColorBrush(COLOR_WINDOW));
    StretchBlt(dc, x, 0, right - x, bottom, banner.dc(), 0, 0, banner.width(), banner.height(), SRCCOPY);

    if (strings && strings[0] != 0) {
        const COLORREF previousBk = SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        const COLORREF previousText = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawHeaderText(dc, strings, bottom, x);
        SetBkColor(dc, previousBk);
        SetTextColor(dc, previousText);
    }
    return true;
}
