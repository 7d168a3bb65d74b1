#include "ui/KeyedBitmap.h"

#include "core/Owned.h"

bool DrawKeyedBitmap(HDC dest, int destX, int destY, int destWidth, int destHeight, HDC source, int srcX, int srcY,
                     int srcWidth, int srcHeight, COLORREF key) {
    // With these colours a mask bit of 1 acts as all bits set and a bit of 0 as none in SRCAND.
    SetBkColor(dest, RGB(255, 255, 255));
    SetTextColor(dest, RGB(0, 0, 0));

    const UniqueDc maskDc(CreateCompatibleDC(dest));
    const UniqueGdi<HBITMAP> mask(CreateBitmap(srcWidth, srcHeight, 1, 1, nullptr));
    const SelectedObject selection(maskDc.get(), mask.get());

    // Colour to monochrome: exactly the background colour becomes 1, everything else 0.
    SetBkColor(source, key);
    BitBlt(maskDc.get(), 0, 0, srcWidth, srcHeight, source, srcX, srcY, SRCCOPY);

    // d ^ s, then & mask (1 keeps d ^ s, 0 clears it), then ^ s: the key's pixels end as d, the
    // others as s.
    StretchBlt(dest, destX, destY, destWidth, destHeight, source, srcX, srcY, srcWidth, srcHeight, SRCINVERT);
    StretchBlt(dest, destX, destY, destWidth, destHeight, maskDc.get(), 0, 0, srcWidth, srcHeight, SRCAND);
    StretchBlt(dest, destX, destY, destWidth, destHeight, source, srcX, srcY, srcWidth, srcHeight, SRCINVERT);
    return true;
}
