// P5 page shown: the printer's properties as the driver's user interface shows them (the driver-UI
// host: the platform's common property-sheet library, the plug-in's DevicePropertySheets as a child
// callback adding its page, the sheet titled with the printer's name), from the host's call to the
// page painted whole, against the same page template from the same module added by a child callback to
// the same kind of sheet with an empty procedure. Both in turns; the ratio of the medians is judged.
#include "Bench.h"

#include <stdio.h>

#include <commctrl.h>

#include "DriverUiHost.h"
#include "FirstPaint.h"
#include "resources/ResourceIds.h"
#include "testbed/PrinterEnvironment.h"

namespace {

constexpr int kRounds = 15;
constexpr double kTarget = 1.5;

INT_PTR CALLBACK EmptyPageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The empty page's callback in the plug-in's place: it adds the page the same way at INIT.
struct EmptyPage {
    HMODULE module;
    LPCWSTR printer;
};
LONG CALLBACK EmptyPageSheets(PPROPSHEETUI_INFO info, LPARAM) {
    if (!info || info->Reason != PROPSHEETUI_REASON_INIT) return 1;
    const auto *page = reinterpret_cast<const EmptyPage *>(info->lParamInit);
    PROPSHEETPAGEW record = {};
    record.dwSize = sizeof record;
    record.dwFlags = PSP_DEFAULT;
    record.hInstance = page->module;
    record.pszTemplate = MAKEINTRESOURCEW(IDD_MAINTENANCE_PAGE);
    record.pfnDlgProc = EmptyPageProc;
    record.lParam = reinterpret_cast<LPARAM>(page->printer);
    return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&record),
                                 0) > 0
               ? 1
               : -1;
}

// What the host does for the driver, with the plug-in's page replaced by the empty one: the printer
// handle the driver holds, the page added by a child callback, the sheet of the platform's library.
void ShowEmptyPage(HMODULE module, const std::wstring &printer) {
    std::wstring name = printer;
    HANDLE printerHandle = nullptr;
    OpenPrinterW(&name[0], &printerHandle, nullptr);
    EmptyPage page = {module, name.c_str()};
    DWORD result = 0;
    ShowCommonPropertySheet(nullptr, name, reinterpret_cast<PFNPROPSHEETUI>(reinterpret_cast<void *>(&EmptyPageSheets)),
                            reinterpret_cast<LPARAM>(&page), &result);
    if (printerHandle) ClosePrinter(printerHandle);
}

}  // namespace

bool BenchPageShown() {
    PrinterEnvironment env;
    env.WriteOwnDriverIni(L"CART_STD=Färgpatron\nCART_BLK=Svart patron\n");
    const std::wstring printer = env.AddTestPrinter();
    DriverUiHost host;
    bool ready = host.Ok() && !printer.empty() && SUCCEEDED(host.NotifyPrinterInstalled(printer));

    std::vector<double> plugin, empty;
    for (int round = 0; ready && round < kRounds; ++round) {
        // The two take turns, each first in every other round.
        for (int turn = 0; ready && turn < 2; ++turn) {
            const bool pluginTurn = (turn == 0) == (round % 2 == 0);
            FirstPaint watch(CancelPropertySheet);
            if (pluginTurn)
                ready = host.ShowPrinterProperties(printer).pagesAdded == 1;
            else
                ShowEmptyPage(host.Module(), printer);
            const double seconds = watch.Seconds();
            ready = ready && seconds > 0;
            (pluginTurn ? plugin : empty).push_back(seconds);
        }
    }
    env.Teardown();
    if (!ready) {
        printf("P5 page shown: the printer, the host or the page was not available, or the page never painted whole\n");
        return false;
    }
    const double ratio = Median(plugin) / Median(empty);
    printf("P5 page shown: from DevicePropertySheets to the page painted %.2f ms, the same template with an empty "
           "procedure %.2f ms (medians of %d)\n", Median(plugin) * 1000, Median(empty) * 1000, kRounds);
    Report({"P5 page shown vs empty page", ratio, "x", "<= 1.5", ratio <= kTarget});
    return ratio <= kTarget;
}
