// P1 page paint: both ink-level pictures of the maintenance page with their captions
// (DrawInkLevelPicture for the left and the right holder, on a memory device context), against the
// same platform calls made bare, in the same order, without the plug-in's own logic: per holder the
// cartridge pair and the eleven counters (each by opening the printer, reading its printer data,
// opening the state key and querying the values), the caption (the driver files directory, the
// printer record, the driver INI found by its OEMDriverName, the cartridge name read from it, the
// caption control set), and the keyed picture (loaded from the DLL and blitted through a mask).
// The two take turns in blocks; the ratio of the medians of the blocks is judged.
#include "Bench.h"
#include "CallCensus.h"

#include <stdio.h>
#include <strsafe.h>
#include <winspool.h>

#include "core/CartridgeRules.h"
#include "resources/ResourceIds.h"
#include "state/PrinterStateKey.h"
#include "testbed/PrinterEnvironment.h"
#include "state/DriverIni.h"
#include "state/PrinterInfo.h"
#include "ui/CartridgeCaption.h"
#include "ui/InkLevelPicture.h"
#include "ui/KeyedBitmap.h"

namespace {

constexpr int kBlocks = 20;
constexpr int kPaintsPerBlock = 10;
constexpr double kTarget = 1.2;

// What one holder's paint shows, worked out once beforehand: the bare calls need no logic to find it.
struct HolderPlan {
    int captionId;
    const wchar_t *iniKey;
    UINT pictureId;
};

// ---- The bare platform calls of one paint -----------------------------------------------------------

// The state key's readers: printer data for the key's name, then the key and `count` of its values.
void BareStateRead(const std::wstring &printer, const wchar_t *const *names, int count) {
    HANDLE handle = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, &defaults)) return;
    WCHAR friendly[261] = {};
    DWORD type = 0, size = 0;
    GetPrinterDataW(handle, const_cast<LPWSTR>(L"OriginalFriendlyName"), &type, reinterpret_cast<LPBYTE>(friendly),
                    520, &size);
    ClosePrinter(handle);
    WCHAR path[MAX_PATH] = L"Software\\Zelvorn\\";
    (void)StringCchCatNW(path, ARRAYSIZE(path), friendly, size / sizeof(WCHAR));
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return;
    for (int i = 0; i < count; ++i) {
        DWORD value = 0, bytes = sizeof value;
        RegQueryValueExW(key, names[i], nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &bytes);
    }
    RegCloseKey(key);
}

void BareStateReads(const std::wstring &printer) {
    static const wchar_t *const pair[] = {L"CartLeft", L"CartRight"};
    const wchar_t *counters[kInkLevelCount];
    for (int i = 0; i < kInkLevelCount; ++i) counters[i] = InkLevelValueName(i);
    BareStateRead(printer, pair, 2);
    BareStateRead(printer, counters, kInkLevelCount);
}

// The driver INI lookup of a caption: the driver files directory, the printer record for the
// driver's name, the INI files of the directory until the one naming that driver, the value.
void BareCaption(HWND page, const std::wstring &printer, const HolderPlan &plan) {
    WCHAR dir[MAX_PATH];
    DWORD needed = 0;
    GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed);
    (void)StringCchCatW(dir, ARRAYSIZE(dir), L"\\3\\");
    HANDLE handle = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, &defaults)) return;
    auto *info = static_cast<PRINTER_INFO_2W *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 4096));
    GetPrinterW(handle, 2, reinterpret_cast<LPBYTE>(info), 4096, &needed);
    ClosePrinter(handle);
    WCHAR pattern[MAX_PATH], iniPath[MAX_PATH] = {};
    (void)StringCchPrintfW(pattern, ARRAYSIZE(pattern), L"%s*.ini", dir);
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstFileW(pattern, &entry);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            (void)StringCchPrintfW(iniPath, ARRAYSIZE(iniPath), L"%s%s", dir, entry.cFileName);
            WCHAR driver[MAX_PATH];
            GetPrivateProfileStringW(L"OEMFiles", L"OEMDriverName", L"", driver, ARRAYSIZE(driver), iniPath);
            if (wcscmp(driver, info->pDriverName) == 0) break;
        } while (FindNextFileW(listing, &entry));
        FindClose(listing);
    }
    HeapFree(GetProcessHeap(), 0, info);
    WCHAR value[2048];
    GetPrivateProfileStringW(L"OEMFiles", plan.iniKey, L"Not Found", value, ARRAYSIZE(value), iniPath);
    SetDlgItemTextW(page, plan.captionId, value);
}

// The keyed picture: loaded from the DLL, its pixels blitted where the key colour is not.
void BarePicture(HMODULE module, HDC dc, const RECT &item, UINT pictureId) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP picture =
        static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(pictureId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info = {};
    GetObjectW(picture, sizeof info, &info);
    HGDIOBJ previous = SelectObject(memory, picture);
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    HDC maskDc = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr);
    HGDIOBJ maskPrevious = SelectObject(maskDc, mask);
    SetBkColor(memory, kPictureKeyColour);
    BitBlt(maskDc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    StretchBlt(dc, 0, 0, item.right, item.bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCINVERT);
    StretchBlt(dc, 0, 0, item.right, item.bottom, maskDc, 0, 0, info.bmWidth, info.bmHeight, SRCAND);
    StretchBlt(dc, 0, 0, item.right, item.bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCINVERT);
    SelectObject(maskDc, maskPrevious);
    DeleteDC(maskDc);
    DeleteObject(mask);
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
}

void BarePaint(HWND page, const std::wstring &printer, HDC dc, const RECT &item, const HolderPlan (&plans)[2]) {
    for (const HolderPlan &plan : plans) {
        BareStateReads(printer);
        BareCaption(page, printer, plan);
        BarePicture(Model().module, dc, item, plan.pictureId);
    }
}

bool PaintBoth(HWND page, const std::wstring &printer, HDC dc, const RECT &item) {
    return DrawInkLevelPicture(page, printer.c_str(), IDC_LEFT_INK, dc, item) &&
           DrawInkLevelPicture(page, printer.c_str(), IDC_RIGHT_INK, dc, item);
}

// What the paint will show, from the plug-in's own reads; false when a holder would show no caption
// from the driver INI or no picture (the bare calls then would not be the same).
bool PlanHolders(const std::wstring &printer, HolderPlan (&plans)[2]) {
    CartridgeType left = kCartNone, right = kCartNone;
    InkLevelSet levels = UnknownInkLevels();
    if (ReadCartridges(printer.c_str(), &left, &right) != 1 || ReadInkLevels(printer.c_str(), &levels) != 1)
        return false;
    const CartridgeType types[2] = {left, right};
    const int captions[2] = {IDC_LEFT_TYPE, IDC_RIGHT_TYPE};
    for (int holder = 0; holder < 2; ++holder) {
        WCHAR caption[MAX_PATH];
        plans[holder] = {captions[holder], CartridgeIniKey(types[holder]), InkLevelPictureId(types[holder], levels)};
        if (!plans[holder].iniKey || !plans[holder].pictureId ||
            !GetDriverIniString(printer.c_str(), plans[holder].iniKey, caption, ARRAYSIZE(caption)))
            return false;
    }
    return true;
}

// The baseline must make the plug-in's platform calls, no more and no fewer.
CENSUS_FUNCTION bool SameCalls(HWND page, const std::wstring &printer, HDC dc, const RECT &item,
                               const HolderPlan (&plans)[2]) {
    CallCensus census({GetModuleHandleW(nullptr)});
    PaintBoth(page, printer, dc, item);
    const std::vector<long> own = census.Counts();
    census.Reset();
    BarePaint(page, printer, dc, item, plans);
    const std::vector<long> bare = census.Counts();
    if (own != bare) {
        printf("P1 page paint: the bare calls differ from the paint's: paint %s; bare %s\n",
               CallCensus::Describe(own).c_str(), CallCensus::Describe(bare).c_str());
        return false;
    }
    printf("P1 page paint: the same platform calls in a paint and in its bare calls: %s\n",
           CallCensus::Describe(own).c_str());
    return true;
}

double Milliseconds(double seconds, int paints) { return seconds * 1000 / paints; }

}  // namespace

bool BenchPagePaint() {
    // The plug-in's code in this program draws its pictures from the built DLL's resources.
    HMODULE dll = LoadLibraryW(BesideProgram(L"zvaaSUI.dll").c_str());
    const HMODULE own = Model().module;
    if (dll) InitModelProfile(dll, DLL_PROCESS_ATTACH);

    PrinterEnvironment env;
    env.WriteOwnDriverIni(L"CART_STD=Färgpatron\nCART_BLK=Svart patron\n");
    const std::wstring printer = env.AddTestPrinter();
    // The page: the two caption controls the paint sets, and a picture button's worth of 32-bit pixels.
    HWND page = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExW(0, L"STATIC", L"Vänster typ", WS_CHILD, 0, 0, 120, 20, page,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LEFT_TYPE)), nullptr, nullptr);
    CreateWindowExW(0, L"STATIC", L"Höger typ", WS_CHILD, 0, 30, 120, 20, page,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RIGHT_TYPE)), nullptr, nullptr);
    const RECT item = {0, 0, 40, 94};
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = item.right;
    bmi.bmiHeader.biHeight = item.bottom;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = canvas ? SelectObject(dc, canvas) : nullptr;

    HolderPlan plans[2] = {};
    bool ready = dll && page && canvas && !printer.empty() && InitPrinterState(printer.c_str()) &&
                 PlanHolders(printer, plans) && PaintBoth(page, printer, dc, item);
    ready = ready && SameCalls(page, printer, dc, item, plans);
    std::vector<double> paintBlocks, bareBlocks;
    for (int block = 0; ready && block < kBlocks; ++block) {
        // The two take turns, each first in every other block.
        for (int turn = 0; turn < 2; ++turn) {
            const bool paintTurn = (turn == 0) == (block % 2 == 0);
            const double begin = NowSeconds();
            for (int i = 0; i < kPaintsPerBlock; ++i) {
                if (paintTurn)
                    ready &= PaintBoth(page, printer, dc, item);
                else
                    BarePaint(page, printer, dc, item, plans);
            }
            (paintTurn ? paintBlocks : bareBlocks).push_back(NowSeconds() - begin);
        }
    }

    // Where a bare paint's time goes: the state reads, the captions (and within them the printer
    // records their driver INI lookups fetch), the pictures.
    double reads = 0, captions = 0, records = 0, pictures = 0, ownReads = 0, ownCaptions = 0;
    const int parts = kBlocks * kPaintsPerBlock;
    for (int i = 0; ready && i < parts; ++i) {
        double begin = NowSeconds();
        for (int holder = 0; holder < 2; ++holder) {
            CartridgeType left, right;
            InkLevelSet levels;
            ReadCartridges(printer.c_str(), &left, &right);
            ReadInkLevels(printer.c_str(), &levels);
        }
        ownReads += NowSeconds() - begin;
        begin = NowSeconds();
        SetCartridgeCaption(page, printer.c_str(), IDC_LEFT_TYPE, kCartColour);
        SetCartridgeCaption(page, printer.c_str(), IDC_RIGHT_TYPE, kCartBlack);
        ownCaptions += NowSeconds() - begin;
        begin = NowSeconds();
        for (int holder = 0; holder < 2; ++holder) BareStateReads(printer);
        reads += NowSeconds() - begin;
        begin = NowSeconds();
        for (const HolderPlan &plan : plans) BareCaption(page, printer, plan);
        captions += NowSeconds() - begin;
        begin = NowSeconds();
        for (int holder = 0; holder < 2; ++holder) FreePrinterInfo(FetchPrinterInfo(printer.c_str(), nullptr));
        records += NowSeconds() - begin;
        begin = NowSeconds();
        for (const HolderPlan &plan : plans) BarePicture(Model().module, dc, item, plan.pictureId);
        pictures += NowSeconds() - begin;
    }

    if (previous) SelectObject(dc, previous);
    if (canvas) DeleteObject(canvas);
    DeleteDC(dc);
    if (page) DestroyWindow(page);
    env.Teardown();
    InitModelProfile(own, DLL_PROCESS_ATTACH);
    if (dll) FreeLibrary(dll);
    if (!ready) {
        printf("P1 page paint: the test printer, its state, its captions or the pictures were not available\n");
        return false;
    }
    const double paint = Median(paintBlocks), bare = Median(bareBlocks);
    const double ratio = paint / bare;
    printf("P1 page paint: both pictures with their captions %.2f ms a paint, the same calls bare %.2f ms "
           "(medians of %d blocks of %d paints)\n",
           Milliseconds(paint, kPaintsPerBlock), Milliseconds(bare, kPaintsPerBlock), kBlocks, kPaintsPerBlock);
    printf("P1 page paint: of the bare calls, the state reads %.2f ms, the two captions %.2f ms (of which the two "
           "printer records %.2f ms), the two pictures %.2f ms\n",
           Milliseconds(reads, parts), Milliseconds(captions, parts), Milliseconds(records, parts),
           Milliseconds(pictures, parts));
    printf("P1 page paint: the plug-in's own state reads %.2f ms, its two captions %.2f ms\n",
           Milliseconds(ownReads, parts), Milliseconds(ownCaptions, parts));
    Report({"P1 paint vs its bare calls", ratio, "x", "<= 1.2", ratio <= kTarget});
    return ratio <= kTarget;
}
