// Sheets of all bitmaps of the built zvaaSUI.dll as PNG files for a person to check by eye (the keyed
// ones over a button face, so the transparent green shows as such). The dialogs and the page, drawn by
// the library's own procedures, come from the readable test program (make pictures runs both).
//
//   zvaa_pictures.exe OUTPUT_FOLDER
#include <windows.h>

#include <string>
#include <vector>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "testbed/PngFile.h"
#include "ui/KeyedBitmap.h"

namespace {

HMODULE g_dll;
std::wstring g_out;

HBITMAP LoadPicture(UINT id) {
    return static_cast<HBITMAP>(LoadImageW(g_dll, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// Draws a bitmap over a rectangle, keyed (green shows what lies behind) or plain.
void DrawPicture(HDC dc, const RECT &r, UINT id, bool keyed) {
    HBITMAP picture = LoadPicture(id);
    if (!picture) return;
    BITMAP bm = {};
    GetObjectW(picture, sizeof bm, &bm);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    if (keyed) {
        DrawKeyedBitmap(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, bm.bmWidth, bm.bmHeight,
                        kPictureKeyColour);
    } else {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
}

// A sheet of pictures: each drawn at `scale` on a grey button face, keyed or plain, in a grid.
bool RenderSheet(const std::vector<UINT> &ids, int columns, int scale, bool keyed, const wchar_t *file) {
    int cellW = 0, cellH = 0;
    for (UINT id : ids) {
        HBITMAP b = LoadPicture(id);
        BITMAP bm = {};
        if (b) {
            GetObjectW(b, sizeof bm, &bm);
            DeleteObject(b);
        }
        if (bm.bmWidth * scale + 8 > cellW) cellW = bm.bmWidth * scale + 8;
        if (bm.bmHeight * scale + 8 > cellH) cellH = bm.bmHeight * scale + 8;
    }
    const int rows = static_cast<int>((ids.size() + columns - 1) / columns);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, cellW * columns, cellH * rows);
    HGDIOBJ old = SelectObject(dc, canvas);
    RECT all = {0, 0, cellW * columns, cellH * rows};
    HBRUSH face = CreateSolidBrush(RGB(212, 208, 200));
    FillRect(dc, &all, face);
    DeleteObject(face);
    for (size_t i = 0; i < ids.size(); ++i) {
        HBITMAP b = LoadPicture(ids[i]);
        BITMAP bm = {};
        if (!b) continue;
        GetObjectW(b, sizeof bm, &bm);
        DeleteObject(b);
        const int x = static_cast<int>(i % columns) * cellW + 4, y = static_cast<int>(i / columns) * cellH + 4;
        RECT r = {x, y, x + bm.bmWidth * scale, y + bm.bmHeight * scale};
        DrawPicture(dc, r, ids[i], keyed);
    }
    const bool ok = SaveDcRegionPng(dc, 0, 0, cellW * columns, cellH * rows, g_out + file);
    wprintf(L"%ls %ls\n", ok ? L"wrote" : L"FAILED", file);
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return ok;
}

bool RenderBitmaps() {
    std::vector<UINT> gauges;
    for (UINT set = 0; set < kInkSetCount; ++set)
        for (int step = 0; step < kInkLevelSteps; ++step) gauges.push_back(Model().inkLevelPictures[set][step]);
    bool ok = RenderSheet(gauges, kInkLevelSteps, 4, true, L"ink-gauges.png");
    ok = RenderSheet({IDB_HEADER_PRINTER}, 1, 4, false, L"bitmap151-header-printer.png") && ok;
    ok = RenderSheet({IDB_ALIGN_ILLUSTRATION}, 1, 2, true, L"bitmap155-align-illustration.png") && ok;
    ok = RenderSheet({IDB_ALIGN_EXAMPLE_A, IDB_ALIGN_EXAMPLE_B, IDB_ALIGN_EXAMPLE_BLACK, IDB_ALIGN_EXAMPLE_BLUE,
                      IDB_ALIGN_EXAMPLE_BLACK_E, IDB_ALIGN_EXAMPLE_BLUE_F},
                     2, 4, false, L"align-examples.png") && ok;
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t **argv) {
    if (argc < 2) {
        wprintf(L"usage: zvaa_pictures OUTPUT_FOLDER\n");
        return 2;
    }
    g_out = argv[1];
    if (!g_out.empty() && g_out.back() != L'\\' && g_out.back() != L'/') g_out += L'\\';
    CreateDirectoryW(g_out.c_str(), nullptr);

    g_dll = LoadLibraryW(L"zvaaSUI.dll");
    if (!g_dll) {
        wprintf(L"cannot load zvaaSUI.dll\n");
        return 1;
    }
    // The keyed transfer is linked in; it takes its pictures from the DLL.
    InitModelProfile(g_dll, DLL_PROCESS_ATTACH);

    const bool ok = RenderBitmaps();
    FreeLibrary(g_dll);
    return ok ? 0 : 1;
}
