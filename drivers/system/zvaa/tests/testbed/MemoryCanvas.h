// A 32-bit DIB section selected into a memory device context: something to paint on and read back
// exactly, pixel by pixel, without a window.
#pragma once

#include <windows.h>

class MemoryCanvas {
public:
    MemoryCanvas(int width, int height);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas &) = delete;
    MemoryCanvas &operator=(const MemoryCanvas &) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    void Fill(COLORREF colour);
    void Set(int x, int y, COLORREF colour);
    COLORREF Get(int x, int y) const;  // RGB; CLR_INVALID outside
    // True when every pixel of the rectangle (right and bottom excluded) has the colour.
    bool AllOf(int left, int top, int right, int bottom, COLORREF colour) const;
    // Number of pixels in the rectangle that differ from the colour.
    int CountOther(int left, int top, int right, int bottom, COLORREF colour) const;

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    DWORD *m_bits = nullptr;
};
