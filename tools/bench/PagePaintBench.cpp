// P1 page paint: both ink-level pictures of the maintenance page with their captions
// (DrawInkLevelPicture for the left and the right holder, on a memory device context), against the
// bare spooler and registry reads that painting must make: for each holder the cartridge pair and
// then the eleven counters, each read by opening the printer, reading its printer data, opening the
// state key and querying the values.
#include "Bench.h"

#include <stdio.h>
#include <winspool.h>

#include "resources/ResourceIds.h"
#include "state/PrinterStateKey.h"
#include "testbed/PrinterEnvironment.h"
#include "state/PrinterInfo.h"
#include "ui/CartridgeCaption.h"
#include "ui/InkLevelPicture.h"

namespace {

constexpr int kRounds = 200;
constexpr int kBlocks = 10;  // the two sides take turns in blocks, so that both see the same disturbances

// One group of reads as the state key's readers make them: the key's name from the printer data,
// then the key and `count` of its values.
bool ReadStateValues(const std::wstring &printer, const wchar_t *const *names, int count) {
    HANDLE handle = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, &defaults)) return false;
    WCHAR friendly[261] = {};
    DWORD type = 0, size = 0;
    GetPrinterDataW(handle, const_cast<LPWSTR>(L"OriginalFriendlyName"), &type, reinterpret_cast<LPBYTE>(friendly),
                    520, &size);
    ClosePrinter(handle);
    const std::wstring path = L"Software\\Zelvorn\\" + std::wstring(friendly, size / sizeof(WCHAR));
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return false;
    bool all = true;
    for (int i = 0; i < count; ++i) {
        DWORD value = 0, bytes = sizeof value;
        all &= RegQueryValueExW(key, names[i], nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &bytes) ==
               ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return all;
}

bool BareReads(const std::wstring &printer) {
    static const wchar_t *const pair[] = {L"CartLeft", L"CartRight"};
    const wchar_t *counters[kInkLevelCount];
    for (int i = 0; i < kInkLevelCount; ++i) counters[i] = InkLevelValueName(i);
    bool ok = true;
    for (int holder = 0; holder < 2; ++holder) {
        ok &= ReadStateValues(printer, pair, 2);
        ok &= ReadStateValues(printer, counters, kInkLevelCount);
    }
    return ok;
}

bool PaintBoth(HWND page, const std::wstring &printer, HDC dc, const RECT &item) {
    return DrawInkLevelPicture(page, printer.c_str(), IDC_LEFT_INK, dc, item) &&
           DrawInkLevelPicture(page, printer.c_str(), IDC_RIGHT_INK, dc, item);
}

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

    bool ready = dll && page && canvas && !printer.empty() && InitPrinterState(printer.c_str()) &&
                 PaintBoth(page, printer, dc, item) && BareReads(printer);
    double paint = 0, bare = 0;
    for (int block = 0; ready && block < kBlocks; ++block) {
        double begin = NowSeconds();
        for (int i = 0; i < kRounds / kBlocks; ++i) ready &= PaintBoth(page, printer, dc, item);
        paint += NowSeconds() - begin;
        begin = NowSeconds();
        for (int i = 0; i < kRounds / kBlocks; ++i) ready &= BareReads(printer);
        bare += NowSeconds() - begin;
    }

    // Where the paint's time goes beyond the state reads: the two captions, and within them the printer
    // record each caption's driver INI lookup fetches.
    double captions = 0, records = 0;
    for (int i = 0; ready && i < kRounds; ++i) {
        double begin = NowSeconds();
        SetCartridgeCaption(page, printer.c_str(), IDC_LEFT_TYPE, kCartColour);
        SetCartridgeCaption(page, printer.c_str(), IDC_RIGHT_TYPE, kCartBlack);
        captions += NowSeconds() - begin;
        begin = NowSeconds();
        for (int holder = 0; holder < 2; ++holder) FreePrinterInfo(FetchPrinterInfo(printer.c_str(), nullptr));
        records += NowSeconds() - begin;
    }

    if (previous) SelectObject(dc, previous);
    if (canvas) DeleteObject(canvas);
    DeleteDC(dc);
    if (page) DestroyWindow(page);
    env.Teardown();
    InitModelProfile(own, DLL_PROCESS_ATTACH);
    if (dll) FreeLibrary(dll);
    if (!ready) {
        printf("P1 page paint: the test printer, its state or the pictures were not available\n");
        return false;
    }
    const double ratio = paint / bare;
    printf("P1 page paint: both pictures and captions %.2f ms a paint, the bare state reads %.2f ms (%d paints)\n",
           paint * 1000 / kRounds, bare * 1000 / kRounds, kRounds);
    printf("P1 page paint: of a paint, the two captions take %.2f ms, of which %.2f ms the two printer records "
           "their driver INI lookups fetch\n", captions * 1000 / kRounds, records * 1000 / kRounds);
    Report({"P1 paint vs bare reads", ratio, "x", "<= 1.5", ratio <= 1.5});
    return ratio <= 1.5;
}
