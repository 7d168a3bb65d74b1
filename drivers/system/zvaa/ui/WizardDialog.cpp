#include "ui/WizardDialog.h"

#include "core/Desktop.h"
#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "ui/AccessibleControl.h"
#include "ui/WizardHeader.h"

void SpeakWizardHeader(HWND dialog, const WizardLook &look) {
    SpeakFor(GetDlgItem(dialog, look.headerId), DescribeWizardHeader, look.strings);
}

bool PaintWizardHeader(HWND dialog, WPARAM wParam, LPARAM lParam, const WizardLook &look) {
    if (static_cast<int>(wParam) != look.headerId) return false;
    return WizardHeader(dialog, reinterpret_cast<const DRAWITEMSTRUCT *>(lParam), IDB_HEADER_PRINTER, look.strings);
}

INT_PTR WizardDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, const WizardLook &look) {
    switch (message) {
    case WM_INITDIALOG:
        BeginDialog(dialog, lParam);
        SpeakWizardHeader(dialog, look);
        return TRUE;
    case WM_DRAWITEM: return PaintWizardHeader(dialog, wParam, lParam, look);
    case WM_COMMAND: return EndOnStandardButton(dialog, wParam);
    default: return FALSE;
    }
}

INT_PTR RunWizardDialog(int templateId, HWND owner, DLGPROC procedure, LPCWSTR printerName) {
    // Where nobody can see it (a service's window station), the dialog is not created at all.
    if (!HasVisibleDesktop()) return -1;
    return DialogBoxParamW(Model().module, MAKEINTRESOURCEW(templateId), owner, procedure,
                           reinterpret_cast<LPARAM>(printerName));
}
