// The transparent transfer on memory device contexts, pixel by pixel.
#include <gtest/gtest.h>

#include <vector>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "testbed/MemoryCanvas.h"
#include "ui/KeyedBitmap.h"

namespace {

constexpr COLORREF kKey = RGB(0, 255, 0);
constexpr COLORREF kGround = RGB(200, 30, 90);

TEST(DrawKeyedBitmap, LeavesExactlyTheKeyColourTransparent) {
    // One step off the key in any channel is an ordinary colour and is copied.
    const COLORREF source[] = {kKey,           RGB(0, 254, 0), RGB(1, 255, 0), RGB(0, 255, 1),
                               RGB(0, 0, 0),   kKey,           RGB(255, 255, 255), RGB(0, 128, 0)};
    MemoryCanvas src(4, 2), dst(4, 2);
    for (int i = 0; i < 8; ++i) src.Set(i % 4, i / 4, source[i]);
    dst.Fill(kGround);

    EXPECT_TRUE(DrawKeyedBitmap(dst.dc(), 0, 0, 4, 2, src.dc(), 0, 0, 4, 2, kKey));

    for (int i = 0; i < 8; ++i) {
        const COLORREF want = source[i] == kKey ? kGround : source[i];
        EXPECT_EQ(want, dst.Get(i % 4, i / 4)) << "pixel " << i;
    }
}

TEST(DrawKeyedBitmap, EnlargesPictureAndMaskTogether) {
    // A 2 x 2 source on a 6 x 4 destination: every source pixel becomes a 3 x 2 block, and the key
    // block stays as transparent as the key pixel.
    MemoryCanvas src(2, 2), dst(8, 6);
    src.Set(0, 0, kKey);
    src.Set(1, 0, RGB(10, 20, 30));
    src.Set(0, 1, RGB(250, 0, 0));
    src.Set(1, 1, kKey);
    dst.Fill(kGround);

    DrawKeyedBitmap(dst.dc(), 1, 1, 6, 4, src.dc(), 0, 0, 2, 2, kKey);

    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            COLORREF want = kGround;
            if (x >= 1 && x < 7 && y >= 1 && y < 5) {
                const int sx = (x - 1) / 3, sy = (y - 1) / 2;
                const COLORREF s = src.Get(sx, sy);
                want = s == kKey ? kGround : s;
            }
            EXPECT_EQ(want, dst.Get(x, y)) << x << "," << y;
        }
    }
}

TEST(DrawKeyedBitmap, UsesTheSourceRectangleOnly) {
    MemoryCanvas src(4, 1), dst(2, 1);
    src.Set(0, 0, RGB(1, 1, 1));
    src.Set(1, 0, RGB(2, 2, 2));
    src.Set(2, 0, kKey);
    src.Set(3, 0, RGB(3, 3, 3));
    dst.Fill(kGround);
    DrawKeyedBitmap(dst.dc(), 0, 0, 2, 1, src.dc(), 2, 0, 2, 1, kKey);
    EXPECT_EQ(kGround, dst.Get(0, 0));
    EXPECT_EQ(RGB(3, 3, 3), dst.Get(1, 0));
}

TEST(DrawKeyedBitmap, DrawsAnInkGaugeOverTheButtonFace) {
    // As the maintenance page does: a 256-colour gauge stretched over a 27 x 58 button.
    HBITMAP gauge = static_cast<HBITMAP>(LoadImageW(Model().module, MAKEINTRESOURCEW(IDB_INK_COLOUR_FIRST + 5),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, gauge);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, gauge);
    MemoryCanvas face(25, 63);
    face.Fill(RGB(212, 208, 200));

    DrawKeyedBitmap(face.dc(), 0, 0, 25, 63, source, 0, 0, 25, 63, kKey);

    int shown = 0, kept = 0;
    for (int y = 0; y < 63; ++y) {
        for (int x = 0; x < 25; ++x) {
            const COLORREF s = GetPixel(source, x, y);
            if (s == kKey) {
                EXPECT_EQ(RGB(212, 208, 200), face.Get(x, y)) << x << "," << y;
                ++kept;
            } else {
                EXPECT_EQ(s, face.Get(x, y)) << x << "," << y;
                ++shown;
            }
        }
    }
    EXPECT_GT(kept, 63 * 4);
    EXPECT_GT(shown, 63 * 15);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(gauge);
}

TEST(DrawKeyedBitmap, LeavesTheDestinationColoursForMasking) {
    MemoryCanvas src(1, 1), dst(1, 1);
    SetBkColor(dst.dc(), RGB(1, 2, 3));
    SetTextColor(dst.dc(), RGB(4, 5, 6));
    DrawKeyedBitmap(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 1, 1, kKey);
    EXPECT_EQ(RGB(255, 255, 255), GetBkColor(dst.dc()));
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dst.dc()));
    EXPECT_EQ(kKey, GetBkColor(src.dc()));
}

}  // namespace
