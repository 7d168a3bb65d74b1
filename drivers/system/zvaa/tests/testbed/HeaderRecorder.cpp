#include "testbed/HeaderRecorder.h"

#include <commctrl.h>
#include <stdio.h>

#include "testbed/ImportPatch.h"
#include "testbed/Utf8.h"

namespace {
HeaderRecorder *g_recorder = nullptr;
decltype(&TextOutW) g_realTextOut = nullptr;
decltype(&StretchBlt) g_realStretch = nullptr;

// The brightness of a colour, 0 to 255 (the common luma weights).
int Luma(COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; }

}  // namespace

HeaderRecorder::HeaderRecorder(HMODULE module)
    : m_text(new ImportPatch(module, "gdi32.dll", "TextOutW", reinterpret_cast<const void *>(&TextOut))),
      m_stretch(new ImportPatch(module, "gdi32.dll", "StretchBlt", reinterpret_cast<const void *>(&Stretch))) {
    g_realTextOut = m_text->original<decltype(&TextOutW)>();
    g_realStretch = m_stretch->original<decltype(&StretchBlt)>();
    g_recorder = this;
}

HeaderRecorder::~HeaderRecorder() {
    if (g_recorder == this) g_recorder = nullptr;
}

bool HeaderRecorder::Ok() const { return m_text->slots() > 0 && m_stretch->slots() > 0; }

BOOL WINAPI HeaderRecorder::TextOut(HDC dc, int x, int y, LPCWSTR text, int length) {
    HeaderRecorder *self = g_recorder;
    if (self && dc == self->m_dc) {
        HeaderTextLine line;
        line.text.assign(text, length > 0 ? static_cast<size_t>(length) : 0);
        SIZE size = {};
        if (length > 0) GetTextExtentPoint32W(dc, text, length, &size);
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        line.cell = RECT{x, y, x + size.cx, y + metrics.tmHeight};
        line.colour = GetTextColor(dc);
        line.ground = GetBkColor(dc);
        self->m_paint.lines.push_back(line);
    }
    return g_realTextOut(dc, x, y, text, length);
}

BOOL WINAPI HeaderRecorder::Stretch(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                                   DWORD rop) {
    HeaderRecorder *self = g_recorder;
    if (self && dest == self->m_dc) self->m_paint.picture = RECT{x, y, x + w, y + h};
    return g_realStretch(dest, x, y, w, h, src, sx, sy, sw, sh, rop);
}

HeaderPaint HeaderRecorder::Repaint(HWND headerButton) {
    m_paint = HeaderPaint();
    GetClientRect(headerButton, &m_paint.band);
    // The button paints through the dialog's WM_DRAWITEM into a context of its own; that context is
    // the one the module draws into while the button repaints.
    struct Catch {
        static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
            if (m == WM_DRAWITEM && g_recorder) g_recorder->m_dc = reinterpret_cast<const DRAWITEMSTRUCT *>(lp)->hDC;
            return DefSubclassProc(w, m, wp, lp);
        }
    };
    HWND dialog = GetParent(headerButton);
    SetWindowSubclass(dialog, &Catch::Proc, 1, 0);
    RedrawWindow(headerButton, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RemoveWindowSubclass(dialog, &Catch::Proc, 1);
    m_dc = nullptr;
    return m_paint;
}

std::string HeaderRecorder::Faults(const HeaderPaint &paint) {
    std::string faults;
    char line[800];
    if (paint.lines.empty()) faults += "  no text painted\n";
    if (IsRectEmpty(&paint.picture)) faults += "  no picture painted\n";
    for (const HeaderTextLine &text : paint.lines) {
        const RECT &c = text.cell;
        const bool inBand = c.left >= paint.band.left && c.top >= paint.band.top && c.bottom <= paint.band.bottom;
        const bool leftOfPicture = IsRectEmpty(&paint.picture) || c.right <= paint.picture.left;
        const bool contrast = Luma(text.colour) - Luma(text.ground) >= 128 || Luma(text.ground) - Luma(text.colour) >= 128;
        if (inBand && leftOfPicture && contrast) continue;
        snprintf(line, sizeof line,
                 "  \"%s\" at %ld,%ld to %ld,%ld (band %ld x %ld, picture from x %ld), colour %06lX on %06lX\n",
                 Utf8(text.text).c_str(), c.left, c.top, c.right, c.bottom, paint.band.right, paint.band.bottom,
                 paint.picture.left, static_cast<unsigned long>(text.colour), static_cast<unsigned long>(text.ground));
        faults += line;
    }
    return faults;
}
