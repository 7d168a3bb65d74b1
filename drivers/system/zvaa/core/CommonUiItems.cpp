#include "core/CommonUiItems.h"

#include <string.h>

#include "core/CartridgeRules.h"
#include "core/OemPrivateDevmode.h"
#include "state/PrinterStateKey.h"

namespace {

// DMPUB_QUALITY's extended check box decides whether the print-quality item is enabled.
constexpr wchar_t kPrinterValueName[] = L"OEMUI_VALUE";

bool ColourIsFixed(CartridgeCombo combo) {
    return combo == kComboBlackOnly || combo == kComboColourOnly || combo == kComboColourPhoto;
}

// A pair that cannot be read says nothing about the cartridges: the driver's item stays as it is.
void AdjustColourItem(LPCWSTR printerName, OPTITEM &item) {
    CartridgeType left = kCartNone, right = kCartNone;
    if (!ReadCartridges(printerName, &left, &right)) return;
    if (!ColourIsFixed(ClassifyCartridges(left, right))) return;
    item.Flags |= OPTIF_DISABLED | OPTIF_CHANGED;
    item.Sel = 1;
}

HRESULT SetUpDocumentItems(POEMCUIPPARAM param) {
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 1;
        return S_OK;
    }
    const DWORD count = param->pDrvOptItems ? param->cDrvOptItems : 0;
    for (DWORD i = 0; i < count; ++i) {
        OPTITEM &item = param->pDrvOptItems[i];
        if (item.DMPubID == DMPUB_ICMMETHOD || item.DMPubID == DMPUB_ICMINTENT)
            item.Flags = OPTIF_HIDE;
        else if (item.DMPubID == DMPUB_COLOR)
            AdjustColourItem(param->pPrinterName, item);
    }
    param->OEMCUIPCallback = DocumentItemCallback;
    InitOemItems(param->pOEMOptItems, param->cOEMOptItems);
    return S_OK;
}

// The value the printer sheet last stored; a missing, unreadable or out-of-range one counts as 0.
LONG StoredPrinterValue(HANDLE printer) {
    if (!printer) return 0;
    DWORD value = 0, type = 0, size = 0;
    if (GetPrinterDataW(printer, const_cast<LPWSTR>(kPrinterValueName), &type, reinterpret_cast<LPBYTE>(&value),
                        sizeof value, &size) != ERROR_SUCCESS ||
        size != sizeof value || value > (DWORD)kOemUiValueMax)
        return 0;
    return (LONG)value;
}

HRESULT SetUpPrinterItems(POEMCUIPPARAM param) {
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 1;
        return S_OK;
    }
    param->OEMCUIPCallback = PrinterItemCallback;
    InitOemItems(param->pOEMOptItems, param->cOEMOptItems);
    // The item shows what is stored, so that applying the sheet unchanged keeps it.
    if (param->cOEMOptItems) param->pOEMOptItems[0].Sel = StoredPrinterValue(param->hPrinter);
    return S_OK;
}

bool HasOwnItem(const OEMCUIPPARAM *param) { return param->pOEMOptItems && param->cOEMOptItems; }

// The quality item's extended check box enables the print-quality item; every driver item is marked changed.
LONG FollowQualitySwitch(POEMCUIPPARAM param, LONG action) {
    const DWORD count = param->pDrvOptItems ? param->cDrvOptItems : 0;
    for (DWORD i = 0; i < count; ++i) {
        const OPTITEM &quality = param->pDrvOptItems[i];
        if (quality.DMPubID != DMPUB_QUALITY) continue;
        action = CPSUICB_ACTION_OPTIF_CHANGED;
        for (DWORD j = 0; j < count; ++j) {
            OPTITEM &item = param->pDrvOptItems[j];
            if (item.DMPubID == DMPUB_PRINTQUALITY) {
                if (quality.Flags & OPTIF_ECB_CHECKED)
                    item.Flags &= ~OPTIF_DISABLED;
                else
                    item.Flags |= OPTIF_DISABLED;
            }
            item.Flags |= OPTIF_CHANGED;
        }
    }
    return action;
}

}  // namespace

HRESULT OemCommonUIProp(DWORD mode, POEMCUIPPARAM param) {
    if (!param || (mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    return mode == OEMCUIP_DOCPROP ? SetUpDocumentItems(param) : SetUpPrinterItems(param);
}

void InitOemItems(POPTITEM items, DWORD count) {
    if (!items || !count) return;
    memset(items, 0, count * sizeof(OPTITEM));
    for (DWORD i = 0; i < count; ++i) {
        items[i].cbSize = sizeof(OPTITEM);
        items[i].DMPubID = DMPUB_NONE;
    }
}

LONG APIENTRY DocumentItemCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param) {
    if (!callback || !param) return CPSUICB_ACTION_NONE;
    auto *section = static_cast<OemPrivateDevmode *>(param->pOEMDM);
    LONG action = CPSUICB_ACTION_NONE;
    switch (callback->Reason) {
    case CPSUICB_REASON_SEL_CHANGED:
    case CPSUICB_REASON_ECB_CHANGED:
        break;
    case CPSUICB_REASON_APPLYNOW:
    case CPSUICB_REASON_KILLACTIVE:
        if (section && HasOwnItem(param)) section->OemUiValue = param->pOEMOptItems[0].Sel;
        return CPSUICB_ACTION_NONE;
    case CPSUICB_REASON_SETACTIVE:
        if (section && HasOwnItem(param)) {
            param->pOEMOptItems[0].Sel = section->OemUiValue;
            param->pOEMOptItems[0].Flags |= OPTIF_CHANGED;
        }
        action = CPSUICB_ACTION_OPTIF_CHANGED;
        break;
    default:
        return CPSUICB_ACTION_NONE;
    }
    return FollowQualitySwitch(param, action);
}

LONG APIENTRY PrinterItemCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param) {
    if (!callback || !param) return CPSUICB_ACTION_NONE;
    if (callback->Reason == CPSUICB_REASON_APPLYNOW && HasOwnItem(param)) {
        DWORD value = (DWORD)param->pOEMOptItems[0].Sel;
        // A failed write is not the sheet's concern: it closes all the same.
        (void)SetPrinterDataW(param->hPrinter, const_cast<LPWSTR>(kPrinterValueName), REG_DWORD,
                              reinterpret_cast<LPBYTE>(&value), sizeof value);
    }
    return CPSUICB_ACTION_NONE;
}
