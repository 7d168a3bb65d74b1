#include "ui/WizardHeader.h"

#include "core/ModelProfile.h"

namespace {

constexpr int kTitleX = 24;
constexpr int kBodyX = 36;
constexpr int kTopY = 7;
constexpr int kStringChars = 260;

HFONT CreateHeaderFont(int height, int width, int weight) {
    return CreateFontW(height, width, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, nullptr);
}

// Loads a string of the module; an id without a string gives an empty text.
int LoadHeaderString(UINT id, WCHAR (&text)[kStringChars]) {
    text[0] = L'\0';
    const int length = LoadStringW(Model().module, id, text, kStringChars);
    return length > 0 ? length : 0;
}

// Draws the strings of the list: the title at the top, then every body string from the next line
// on, each line feed starting a new line and every string starting on a line of its own.
void DrawHeaderText(HDC dc, const UINT *strings, int h, int v) {
    const int lineHeight = static_cast<int>(v * 0.9);
    HFONT title = CreateHeaderFont(lineHeight, static_cast<int>(h * 0.8), FW_BOLD);
    HFONT body = CreateHeaderFont(lineHeight, static_cast<int>(h * 0.7), FW_NORMAL);
    HGDIOBJ previousFont = GetCurrentObject(dc, OBJ_FONT);
    if (title) SelectObject(dc, title);
    const COLORREF previousBk = SetBkColor(dc, RGB(255, 255, 255));

    WCHAR text[kStringChars];
    int length = LoadHeaderString(strings[0], text);
    TextOutW(dc, kTitleX, kTopY, text, length);

    if (body) SelectObject(dc, body);
    int line = 1;
    for (const UINT *id = strings + 1; *id != 0; ++id) {
        length = LoadHeaderString(*id, text);
        int start = 0;
        for (int i = 0; i < length; ++i) {
            if (text[i] != L'\n') continue;
            TextOutW(dc, kBodyX, kTopY + line * lineHeight, text + start, i - start);
            ++line;
            start = i + 1;
        }
        TextOutW(dc, kBodyX, kTopY + line * lineHeight, text + start, length - start);
        ++line;
    }

    SelectObject(dc, previousFont);
    SetBkColor(dc, previousBk);
    if (title) DeleteObject(title);
    if (body) DeleteObject(body);
}

}  // namespace

BOOL WizardHeader(HWND /*dialog*/, const DRAWITEMSTRUCT *item, UINT bannerId, const UINT *strings) {
    if (!item || !item->hDC) return FALSE;
    HDC dc = item->hDC;

    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return FALSE;
    HBITMAP banner = static_cast<HBITMAP>(
        LoadImageW(Model().module, MAKEINTRESOURCEW(bannerId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!banner) {
        DeleteDC(memory);
        return FALSE;
    }
    BITMAP picture = {};
    GetObjectW(banner, sizeof picture, &picture);
    HGDIOBJ previousBitmap = SelectObject(memory, banner);

    const LONG units = GetDialogBaseUnits();
    const int h = static_cast<SHORT>(LOWORD(units));
    const int v = static_cast<SHORT>(HIWORD(units));
    const int right = item->rcItem.right;
    const int bottom = item->rcItem.bottom;

    // The picture is as wide as a square of the band's height in dialog units would be, at the
    // band's right end; a band too narrow for it gets it squeezed to its whole width.
    int x = h != 0 ? right - (bottom * v) / (2 * h) : 0;
    if (x < 0) x = 0;

    FillRect(dc, &item->rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    StretchBlt(dc, x, 0, right - x, bottom, memory, 0, 0, picture.bmWidth, picture.bmHeight, SRCCOPY);

    if (strings && strings[0] != 0) DrawHeaderText(dc, strings, h, v);

    SelectObject(memory, previousBitmap);
    DeleteObject(banner);
    DeleteDC(memory);
    return TRUE;
}
