// A stretched bitmap transfer that leaves every pixel of one key colour transparent.
#pragma once

#include <windows.h>

// The key colour of the ink-level pictures and the alignment illustration.
constexpr COLORREF kPictureKeyColour = RGB(0, 255, 0);

// Stretches the source rectangle of `source` (a memory context with the bitmap selected) onto the
// destination rectangle; destination pixels under source pixels of exactly `key` stay as they
// were. Leaves the destination's background colour white and its text colour black, and the
// source's background colour the key. Always true.
bool DrawKeyedBitmap(HDC dest, int destX, int destY, int destWidth, int destHeight, HDC source, int srcX, int srcY,
                     int srcWidth, int srcHeight, COLORREF key);
