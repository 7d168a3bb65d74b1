// PNG files from pixels, and screenshots of windows, device contexts and bitmaps, for a person to
// look at. Compressed by the platform's image encoder (WIC); written with stored (uncompressed)
// deflate blocks where that encoder is missing.
#pragma once

#include <windows.h>

#include <stdint.h>
#include <string>
#include <vector>

// rgb: width * height * 3 bytes, rows top to bottom, red first.
bool WritePng(const std::wstring &path, int width, int height, const std::vector<uint8_t> &rgb);

// Reads the pixels of a rectangle of a device context (BitBlt into a 24-bit DIB).
std::vector<uint8_t> ReadRgbPixels(HDC dc, int x, int y, int width, int height);

bool SaveDcRegionPng(HDC dc, int x, int y, int width, int height, const std::wstring &path);
// The whole window, frame and caption included, as the screen shows it (children repainted first).
bool SaveWindowPng(HWND window, const std::wstring &path);
// A bitmap at its own size, optionally enlarged by a whole factor.
bool SaveBitmapPng(HBITMAP bitmap, int scale, const std::wstring &path);
