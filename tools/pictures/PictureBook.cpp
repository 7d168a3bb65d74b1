// Renders what a person should check by eye into PNG files: every wizard dialog of the built
// zvaaSUI.dll with its header painted and its lists filled as a user would meet them, the maintenance
// page with two ink gauges, and sheets of all bitmaps (the keyed ones over a button face, so the
// transparent green shows as such).
//
//   zvaa_pictures.exe OUTPUT_FOLDER
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "support/PngFile.h"
#include "ui/DialogConventions.h"
#include "ui/KeyedBitmap.h"
#include "ui/WizardHeader.h"

namespace {

const wchar_t kPrinter[] = L"Zelvorn Bläckstråle 30";
HMODULE g_dll;
std::wstring g_out;

struct Look {
    UINT dialog;
    UINT header;
    const UINT *strings;
    const wchar_t *file;
};

const Look kLooks[] = {
    {IDD_ALIGNMENT, IDC_HEADER_ALIGN, HeaderStrings::kAlignment, L"dialog104-alignment.png"},
    {IDD_CARTRIDGE_INSTALL, IDC_HEADER_INSTALL, HeaderStrings::kCartridgeInstall, L"dialog113-install.png"},
    {IDD_SETUP_PROMPT, IDC_HEADER_SETUP, HeaderStrings::kSetupPrompt, L"dialog150-setup.png"},
    {IDD_ALIGN_PREP, IDC_HEADER_ALIGN_PREP, HeaderStrings::kAlignPrep, L"dialog151-align-prep.png"},
    {IDD_MANUAL_FEED, IDC_HEADER_MANUAL_FEED, HeaderStrings::kManualFeed, L"dialog152-manual-feed.png"},
    {IDD_BANNER, IDC_HEADER_BANNER, HeaderStrings::kBanner, L"dialog153-banner.png"},
    {IDD_CARTRIDGE_IDENTIFY, IDC_HEADER_IDENTIFY, HeaderStrings::kCartridgeIdentify, L"dialog154-identify.png"},
};
const Look *g_look;

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

std::wstring Text(UINT id) {
    WCHAR text[260] = L"";
    LoadStringW(g_dll, id, text, 260);
    return text;
}

void AddEntries(HWND dialog, int combo, std::initializer_list<UINT> ids) {
    for (UINT id : ids) SendDlgItemMessageW(dialog, combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(id).c_str()));
    SendDlgItemMessageW(dialog, combo, CB_SETCURSEL, 0, 0);
}

// A user's first view: lists filled from the string table, the "new cartridge" choices, the six
// value groups of a black and colour pair with their start values.
void FillAsAUserSeesIt(HWND dialog) {
    switch (g_look->dialog) {
    case IDD_CARTRIDGE_INSTALL:
    case IDD_CARTRIDGE_IDENTIFY:
        AddEntries(dialog, IDC_LEFT_COMBO, {IDS_CART_COLOUR, IDS_CART_COLOUR_HIGH});
        AddEntries(dialog, IDC_RIGHT_COMBO, {IDS_CART_BLACK, IDS_CART_BLACK_HIGH, IDS_CART_PHOTO});
        CheckDlgButton(dialog, IDC_LEFT_NEW, BST_CHECKED);
        CheckDlgButton(dialog, IDC_RIGHT_NEW, BST_CHECKED);
        break;
    case IDD_SETUP_PROMPT: CheckDlgButton(dialog, IDC_SETUP_YES, BST_CHECKED); break;
    case IDD_ALIGNMENT: {
        const int groups[][5] = {
            {IDC_GROUP_A, IDC_LABEL_A, IDC_EDIT_A, IDC_SPIN_A, IDC_EXAMPLE_A},
            {IDC_GROUP_B, IDC_LABEL_B, IDC_EDIT_B, IDC_SPIN_B, IDC_EXAMPLE_B},
            {IDC_GROUP_C, IDC_LABEL_C, IDC_EDIT_C, IDC_SPIN_C, IDC_EXAMPLE_C},
            {IDC_GROUP_D, IDC_LABEL_D, IDC_EDIT_D, IDC_SPIN_D, IDC_EXAMPLE_D},
            {IDC_GROUP_E, IDC_LABEL_E, IDC_EDIT_E, IDC_SPIN_E, IDC_EXAMPLE_E},
            {IDC_GROUP_F, IDC_LABEL_F, IDC_EDIT_F, IDC_SPIN_F, IDC_EXAMPLE_F},
        };
        const wchar_t *values[] = {L"17", L"6", L"17", L"17", L"17", L"17"};
        for (int g = 0; g < 6; ++g) {
            for (int id : groups[g]) ShowWindow(GetDlgItem(dialog, id), SW_SHOW);
            SetDlgItemTextW(dialog, groups[g][2], values[g]);
        }
        break;
    }
    }
}

UINT ExamplePicture(UINT control) {
    switch (control) {
    case IDC_EXAMPLE_A: return IDB_ALIGN_EXAMPLE_A;
    case IDC_EXAMPLE_B: return IDB_ALIGN_EXAMPLE_B;
    case IDC_EXAMPLE_C: return IDB_ALIGN_EXAMPLE_BLACK;
    case IDC_EXAMPLE_D: return IDB_ALIGN_EXAMPLE_BLUE;
    case IDC_EXAMPLE_E: return IDB_ALIGN_EXAMPLE_BLACK_E;
    case IDC_EXAMPLE_F: return IDB_ALIGN_EXAMPLE_BLUE_F;
    }
    return 0;
}

INT_PTR CALLBACK WizardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextW(dialog, reinterpret_cast<LPCWSTR>(lParam));
        FillAsAUserSeesIt(dialog);
        return TRUE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        if (wParam == g_look->header) return WizardHeader(dialog, item, IDB_HEADER_PRINTER, g_look->strings);
        if (g_look->dialog == IDD_ALIGN_PREP && wParam == IDC_ALIGN_PICTURE) {
            DrawPicture(item->hDC, item->rcItem, IDB_ALIGN_ILLUSTRATION, true);
            return TRUE;
        }
        if (g_look->dialog == IDD_ALIGNMENT && ExamplePicture(static_cast<UINT>(wParam))) {
            DrawPicture(item->hDC, item->rcItem, ExamplePicture(static_cast<UINT>(wParam)), false);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextW(page, IDC_LEFT_TYPE, Text(IDS_CART_COLOUR).c_str());
        SetDlgItemTextW(page, IDC_RIGHT_TYPE, Text(IDS_CART_BLACK).c_str());
        return TRUE;
    }
    if (message == WM_DRAWITEM && (wParam == IDC_LEFT_INK || wParam == IDC_RIGHT_INK)) {
        const DRAWITEMSTRUCT *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        DrawPicture(item->hDC, item->rcItem, wParam == IDC_LEFT_INK ? IDB_INK_COLOUR_FIRST + 6 : IDB_INK_BLACK_FIRST + 2,
                    true);
        return TRUE;
    }
    (void)lParam;
    return FALSE;
}

bool Save(HWND window, const wchar_t *file) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    const bool ok = SaveWindowPng(window, g_out + file);
    wprintf(L"%ls %ls\n", ok ? L"wrote" : L"FAILED", file);
    return ok;
}

bool RenderWizards() {
    bool ok = true;
    for (const Look &look : kLooks) {
        g_look = &look;
        HWND dialog = CreateDialogParamW(g_dll, MAKEINTRESOURCEW(look.dialog), nullptr, WizardProc,
                                         reinterpret_cast<LPARAM>(kPrinter));
        if (!dialog) {
            wprintf(L"FAILED dialog %u\n", look.dialog);
            ok = false;
            continue;
        }
        ok = Save(dialog, look.file) && ok;
        DestroyWindow(dialog);
    }
    return ok;
}

bool RenderPage() {
    // The page is a child template: give it a frame the size of its own rectangle.
    HWND frame = CreateWindowExW(0, WC_STATICW, L"Underhåll av bläckpatron", WS_POPUP | WS_CAPTION, 0, 0, 10, 10,
                                 nullptr, nullptr, nullptr, nullptr);
    HWND page = CreateDialogParamW(g_dll, MAKEINTRESOURCEW(IDD_MAINTENANCE_PAGE), frame, PageProc, 0);
    if (!frame || !page) {
        wprintf(L"FAILED page\n");
        if (frame) DestroyWindow(frame);
        return false;
    }
    RECT r;
    GetWindowRect(page, &r);
    RECT outer = {0, 0, r.right - r.left, r.bottom - r.top};
    AdjustWindowRectEx(&outer, WS_POPUP | WS_CAPTION, FALSE, 0);
    SetWindowPos(frame, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOZORDER);
    EnableWindow(page, TRUE);
    ShowWindow(page, SW_SHOW);
    const bool ok = Save(frame, L"page106-maintenance.png");
    DestroyWindow(frame);
    return ok;
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
    // The painter and the transfer are linked in; they take their pictures from the DLL.
    InitModelProfile(g_dll, DLL_PROCESS_ATTACH);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    bool ok = RenderWizards();
    ok = RenderPage() && ok;
    ok = RenderBitmaps() && ok;
    FreeLibrary(g_dll);
    return ok ? 0 : 1;
}
