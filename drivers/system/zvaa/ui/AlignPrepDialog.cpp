#include "ui/AlignPrepDialog.h"

#include "core/ModelProfile.h"
#include "core/Owned.h"
#include "resources/ResourceIds.h"
#include "state/PrinterStateKey.h"
#include "ui/AccessibleControl.h"
#include "ui/AlignDialog.h"
#include "ui/KeyedBitmap.h"
#include "ui/WizardDialog.h"
#include "ui/WizardHeader.h"

namespace {

constexpr WizardLook kLook = {IDC_HEADER_ALIGN_PREP, HeaderStrings::kAlignPrep};

// The illustration, on a green ground that lets the button's face show through. The button draws
// nothing else, so the message stays unanswered (false) either way.
bool DrawIllustration(const DRAWITEMSTRUCT *item) {
    if (!item || !item->hDC) return false;
    const ResourceBitmapDc picture(item->hDC, Model().module, IDB_ALIGN_ILLUSTRATION);
    if (picture)
        DrawKeyedBitmap(item->hDC, 0, 0, item->rcItem.right, item->rcItem.bottom, picture.dc(), 0, 0,
                        picture.width(), picture.height(), kPictureKeyColour);
    return false;
}

// The illustration's own text is a placeholder ("Button1"): a reader hears what it shows.
bool DescribeIllustration(HWND, const void *, SpokenControl *spoken) {
    if (LoadStringW(Model().module, IDS_ALIGN_PICTURE_NAME, spoken->name, ARRAYSIZE(spoken->name)) <= 0) return false;
    spoken->role = ROLE_SYSTEM_GRAPHIC;
    return true;
}

}  // namespace

INT_PTR CALLBACK AlignPrepDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SpeakFor(GetDlgItem(dialog, IDC_ALIGN_PICTURE), DescribeIllustration, nullptr);
        return WizardDialogMessage(dialog, message, wParam, lParam, kLook);
    case WM_DRAWITEM:
        if (wParam == IDC_ALIGN_PICTURE) return DrawIllustration(reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return PaintWizardHeader(dialog, wParam, lParam, kLook);
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id != IDOK && id != IDCANCEL) return FALSE;
        WCHAR printer[kTextChars];
        GetDialogPrinterName(dialog, printer);
        if (id == IDOK) {
            // AlignNeed stays set until the alignment dialog ends.
            EndDialog(dialog, IDOK);
            RunAlignment(dialog, printer);
        } else {
            EndDialog(dialog, IDCANCEL);
            WriteAlignNeed(printer, 0);
        }
        return TRUE;
    }
    default: return WizardDialogMessage(dialog, message, wParam, lParam, kLook);
    }
}
