#include "testbed/TextFit.h"

#include <stdio.h>

#include "testbed/Utf8.h"

namespace {

std::wstring WindowText(HWND window) {
    WCHAR text[1024] = L"";
    const int length = GetWindowTextW(window, text, ARRAYSIZE(text));
    return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring ClassOf(HWND window) {
    WCHAR name[64] = L"";
    GetClassNameW(window, name, ARRAYSIZE(name));
    return name;
}

// The extent DrawTextW gives the text in the context's font, wrapped at `width` when `wrap`.
SIZE TextExtent(HDC dc, const std::wstring &text, UINT flags, int width) {
    RECT r = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// What the platform's button leaves for a text: the glyph of a radio button or check box and the gap
// after it, the frame and the focus mark of a push button, the frame's inset of a group box.
struct TextRoom {
    int left, right, top, bottom;
};

TextRoom ButtonTextRoom(HDC dc, HWND button, DWORD type, const RECT &client) {
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: {
        int glyph = GetSystemMetrics(SM_CXMENUCHECK);
        if (glyph < 12 * dpi / 96 + 1) glyph = 12 * dpi / 96 + 1;
        SIZE letters = {};
        GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
        const int averageWidth = (letters.cx / 26 + 1) / 2;
        (void)button;
        return {glyph + averageWidth / 2, client.right - 1, 0, client.bottom};
    }
    case BS_GROUPBOX: return {7 + 1, client.right - 7 - 1, 0, client.bottom};
    default: return {3, client.right - 3, 3, client.bottom - 3};
    }
}

bool IsTextStatic(DWORD style) {
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE: return true;
    default: return false;
    }
}

bool IsTextButton(DWORD type) { return type != BS_OWNERDRAW && type != BS_USERBUTTON; }

void Measure(HWND control, std::vector<TextMisfit> *misfits) {
    const std::wstring text = WindowText(control);
    if (text.empty()) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    if (!(style & WS_VISIBLE)) return;
    const std::wstring name = ClassOf(control);
    const bool isStatic = lstrcmpiW(name.c_str(), L"Static") == 0;
    const bool isButton = lstrcmpiW(name.c_str(), L"Button") == 0;
    const DWORD type = style & BS_TYPEMASK;
    if (!(isStatic && IsTextStatic(style)) && !(isButton && IsTextButton(type))) return;

    RECT client = {};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));

    SIZE needed = {};
    SIZE room = {};
    if (isStatic) {
        const DWORD kind = style & SS_TYPEMASK;
        UINT flags = DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        flags |= (kind == SS_LEFTNOWORDWRAP || kind == SS_SIMPLE) ? DT_SINGLELINE : DT_WORDBREAK;
        room = SIZE{client.right, client.bottom};
        needed = TextExtent(dc, text, flags, room.cx);
    } else {
        const TextRoom r = ButtonTextRoom(dc, control, type, client);
        room = SIZE{r.right - r.left, r.bottom - r.top};
        const bool multiline = (style & BS_MULTILINE) != 0;
        needed = TextExtent(dc, text, multiline ? DT_WORDBREAK : DT_SINGLELINE, room.cx);
        if (type == BS_GROUPBOX) needed.cy = 0;  // the label sits on the frame's upper edge
    }
    const int oneLine = TextExtent(dc, text, DT_SINGLELINE, 0).cx;
    SelectObject(dc, previous);
    ReleaseDC(control, dc);

    if (needed.cx > room.cx || needed.cy > room.cy) {
        TextMisfit misfit;
        misfit.id = GetDlgCtrlID(control);
        misfit.text = text;
        misfit.needed = needed;
        misfit.room = room;
        misfit.oneLine = oneLine;
        misfits->push_back(misfit);
    }
}

// The title against the caption bar: the caption font, the window's icon and close box beside it.
void MeasureTitle(HWND window, std::vector<TextMisfit> *misfits) {
    const std::wstring title = WindowText(window);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    if (title.empty() || (style & WS_CHILD) || (style & WS_CAPTION) != WS_CAPTION) return;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    HDC dc = GetWindowDC(window);
    HGDIOBJ previous = SelectObject(dc, font);
    const SIZE needed = TextExtent(dc, title, DT_SINGLELINE | DT_NOPREFIX, 0);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    DeleteObject(font);

    RECT r = {};
    GetWindowRect(window, &r);
    const int frame = GetSystemMetrics((style & WS_THICKFRAME) ? SM_CXFRAME : SM_CXDLGFRAME);
    int buttons = (style & WS_SYSMENU) ? metrics.iCaptionWidth : 0;
    if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) buttons += 2 * metrics.iCaptionWidth;
    const int room = (r.right - r.left) - 2 * frame - buttons - metrics.iCaptionWidth - 4;
    if (needed.cx > room) {
        TextMisfit misfit;
        misfit.text = title;
        misfit.needed = needed;
        misfit.room = SIZE{room, needed.cy};
        misfits->push_back(misfit);
    }
}

}  // namespace

std::vector<TextMisfit> FindTextMisfits(HWND dialog) {
    std::vector<TextMisfit> misfits;
    MeasureTitle(dialog, &misfits);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) Measure(child, &misfits);
    return misfits;
}

std::string DescribeMisfits(const std::vector<TextMisfit> &misfits) {
    std::string out;
    for (const TextMisfit &m : misfits) {
        char line[1200];
        snprintf(line, sizeof line, "  control %d \"%s\": needs %ld x %ld (one line %d), has %ld x %ld\n", m.id,
                 Utf8(m.text).c_str(), m.needed.cx, m.needed.cy, m.oneLine, m.room.cx, m.room.cy);
        out += line;
    }
    return out;
}
