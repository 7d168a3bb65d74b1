#include "testbed/MemoryCanvas.h"

MemoryCanvas::MemoryCanvas(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<DWORD *>(bits);
    m_previous = SelectObject(m_dc, m_bitmap);
}

MemoryCanvas::~MemoryCanvas() {
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

void MemoryCanvas::Fill(COLORREF colour) {
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) Set(x, y, colour);
}

void MemoryCanvas::Set(int x, int y, COLORREF colour) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || !m_bits) return;
    GdiFlush();
    m_bits[y * m_width + x] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

COLORREF MemoryCanvas::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || !m_bits) return CLR_INVALID;
    GdiFlush();
    const DWORD v = m_bits[y * m_width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool MemoryCanvas::AllOf(int left, int top, int right, int bottom, COLORREF colour) const {
    return CountOther(left, top, right, bottom, colour) == 0;
}

int MemoryCanvas::CountOther(int left, int top, int right, int bottom, COLORREF colour) const {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (Get(x, y) != colour) ++count;
    return count;
}
