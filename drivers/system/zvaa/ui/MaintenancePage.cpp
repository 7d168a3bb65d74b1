#include "ui/MaintenancePage.h"

#include "core/ModelProfile.h"
#include "jobs/MaintenancePrints.h"
#include "resources/ResourceIds.h"
#include "state/PrinterInfo.h"
#include "ui/AccessibleControl.h"
#include "ui/AlignDialog.h"
#include "ui/CartridgeDialog.h"
#include "ui/DialogConventions.h"
#include "ui/InkLevelPicture.h"
#include "ui/InkLevelSpeech.h"
#include "ui/SuppliesBrowser.h"

namespace {

constexpr wchar_t kInfoHeaderTitle[] = L"OEM UI Page";
static_assert(sizeof(PROPSHEETPAGEW) == ForArch(52, 96), "the page record the sheet expects");

LONG_PTR AddPage(PPROPSHEETUI_INFO info, LPCWSTR printerName) {
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = Model().module;
    page.pszTemplate = MAKEINTRESOURCEW(IDD_MAINTENANCE_PAGE);
    page.pfnDlgProc = MaintenancePageProc;
    page.lParam = reinterpret_cast<LPARAM>(printerName);
    if (!info->pfnComPropSheet) return 0;
    return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&page), 0);
}

void GetPagePrinterName(HWND page, WCHAR (&name)[kTextChars]) {
    name[0] = L'\0';
    GetDlgItemTextW(page, IDC_LEFT_INK, name, kTextChars);
}

bool OnDrawItem(HWND page, WPARAM id, const DRAWITEMSTRUCT *item) {
    if (id != IDC_LEFT_INK && id != IDC_RIGHT_INK) return false;
    WCHAR printer[kTextChars];
    GetPagePrinterName(page, printer);
    if (!item || !item->hDC) return false;
    // Focus and selection changes leave the picture as it is.
    if (item->itemAction != ODA_DRAWENTIRE) return false;
    return DrawInkLevelPicture(page, printer, static_cast<int>(id), item->hDC, item->rcItem);
}

bool OnCommand(HWND page, WPARAM wParam) {
    WCHAR printer[kTextChars];
    GetPagePrinterName(page, printer);
    if (HIWORD(wParam) != BN_CLICKED) return false;
    switch (LOWORD(wParam)) {
    case IDC_INSTALL_CARTRIDGE:
        PopupCartridgeInstallDialog(page, printer);
        // The dialog may have changed the pair and refilled counters: show the new state at once.
        InvalidateRect(page, nullptr, TRUE);
        UpdateWindow(page);
        break;
    case IDC_ALIGN_HEADS: RunAlignment(page, printer); break;
    case IDC_ORDER_SUPPLIES: OrderSupplies(printer); break;
    case IDC_CLEAN_NOZZLES: PrintCleaningPage(page, printer); break;
    default: break;
    }
    return true;
}

}  // namespace

HRESULT AddMaintenancePage(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    const auto *param = reinterpret_cast<const OEMUIPSPARAM *>(info->lParamInit);
    LPCWSTR printerName = param ? param->pPrinterName : nullptr;
    info->UserData = reinterpret_cast<ULONG_PTR>(printerName);
    if (info->Version != PROPSHEETUI_INFO_VERSION) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }

    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        // Without a printer name there is no page to show: nothing could be read for it.
        if (!printerName || IsRemotePrinter(printerName, nullptr))
            info->Result = static_cast<ULONG_PTR>(lParam);
        else
            info->Result = static_cast<ULONG_PTR>(AddPage(info, printerName));
        break;
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
        auto *header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
        if (header) header->pTitle = const_cast<LPWSTR>(kInfoHeaderTitle);
        info->Result = 1;
        break;
    }
    case PROPSHEETUI_REASON_DESTROY: info->Result = 1; break;
    case PROPSHEETUI_REASON_SET_RESULT: {
        const auto *result = reinterpret_cast<const SETRESULT_INFO *>(lParam);
        if (result) info->Result = static_cast<ULONG_PTR>(result->Result);
        break;
    }
    case PROPSHEETUI_REASON_GET_ICON: info->Result = 0; break;
    default: info->Result = static_cast<ULONG_PTR>(lParam); break;
    }
    return S_OK;
}

INT_PTR CALLBACK MaintenancePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto *record = reinterpret_cast<const PROPSHEETPAGEW *>(lParam);
        LPCWSTR printer = record ? reinterpret_cast<LPCWSTR>(record->lParam) : nullptr;
        SetDlgItemTextW(page, IDC_LEFT_INK, printer ? printer : L"");
        // The left picture's window text is the printer name, the right one's empty: neither tells a
        // reader what the picture shows.
        SpeakFor(GetDlgItem(page, IDC_LEFT_INK), DescribeInkLevelPicture, nullptr);
        SpeakFor(GetDlgItem(page, IDC_RIGHT_INK), DescribeInkLevelPicture, nullptr);
        if (!IsBrowserAvailable()) EnableWindow(GetDlgItem(page, IDC_ORDER_SUPPLIES), FALSE);
        if (printer && IsRemotePrinter(printer, nullptr)) {
            EnableWindow(GetDlgItem(page, IDC_INSTALL_CARTRIDGE), FALSE);
            EnableWindow(GetDlgItem(page, IDC_ALIGN_HEADS), FALSE);
        }
        return TRUE;
    }
    case WM_DRAWITEM: return OnDrawItem(page, wParam, reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
    case WM_COMMAND: return OnCommand(page, wParam);
    default: return FALSE;
    }
}
