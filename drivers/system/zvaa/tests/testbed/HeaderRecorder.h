// Watches what a module paints into the header band of a wizard dialog: every line of text (where it
// starts, how far its ink can reach with the font it was drawn in) and where the printer picture went,
// through the module's own imports of TextOutW and StretchBlt.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class ImportPatch;

struct HeaderTextLine {
    std::wstring text;
    RECT cell = {};      // x, y of the call and the extent and height of the text in its font
    COLORREF colour = 0; // the text colour it was drawn in
    COLORREF ground = 0; // the background colour behind it
};

struct HeaderPaint {
    RECT band = {};      // the button's client area
    RECT picture = {};   // where the printer picture was stretched to (empty when none)
    std::vector<HeaderTextLine> lines;
};

class HeaderRecorder {
public:
    explicit HeaderRecorder(HMODULE module);
    ~HeaderRecorder();
    HeaderRecorder(const HeaderRecorder &) = delete;
    HeaderRecorder &operator=(const HeaderRecorder &) = delete;

    bool Ok() const;
    // Repaints the header button at once and gives what the module painted into it.
    HeaderPaint Repaint(HWND headerButton);

    // What is wrong with a paint, one line each: a line outside the band or reaching into the
    // picture, no line at all, text in the band's own colour. Empty when all is well.
    static std::string Faults(const HeaderPaint &paint);

private:
    static BOOL WINAPI TextOut(HDC dc, int x, int y, LPCWSTR text, int length);
    static BOOL WINAPI Stretch(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop);
    std::unique_ptr<ImportPatch> m_text, m_stretch;
    HDC m_dc = nullptr;
    HeaderPaint m_paint;
};
