// Dialog 150: asks, at the end of an installation, whether the cartridges are to be set up now.
#include "resources/ResourceIds.h"
#include "ui/PromptDialogs.h"
#include "ui/WizardDialog.h"
#include "ui/WizardHeader.h"

namespace {
constexpr WizardLook kLook = {IDC_HEADER_SETUP, HeaderStrings::kSetupPrompt};
}

INT_PTR CALLBACK PreInstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        // The setup program may still hold the foreground; the prompt only stands on top of it.
        SetWindowTextW(dialog, reinterpret_cast<LPCWSTR>(lParam));
        PlaceOwnerlessDialog(dialog);
        SpeakWizardHeader(dialog, kLook);
        SendDlgItemMessageW(dialog, IDC_SETUP_YES, BM_SETCHECK, BST_CHECKED, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const LRESULT yes = SendDlgItemMessageW(dialog, IDC_SETUP_YES, BM_GETCHECK, 0, 0);
            EndDialog(dialog, yes == BST_CHECKED ? 1 : 2);
            return TRUE;
        }
        return WizardDialogMessage(dialog, message, wParam, lParam, kLook);
    default: return WizardDialogMessage(dialog, message, wParam, lParam, kLook);
    }
}
