// What every wizard-style dialog does alike: the printer name as title, placement, the header band
// and the two standard buttons. A dialog procedure handles its own messages first and passes the
// rest to WizardDialogMessage.
#pragma once

#include <windows.h>

#include "ui/DialogConventions.h"

// The header band of one wizard dialog: its owner-drawn button and its header string list.
struct WizardLook {
    int headerId;
    const UINT *strings;
};

// For WM_INITDIALOG: a reader hears the header band as its title and lines.
void SpeakWizardHeader(HWND dialog, const WizardLook &look);

// Paints the header for WM_DRAWITEM when wParam is the look's header button; false for any other
// control, so the platform draws nothing there.
bool PaintWizardHeader(HWND dialog, WPARAM wParam, LPARAM lParam, const WizardLook &look);

// The default handling of a wizard dialog's message:
//   WM_INITDIALOG  the creation parameter (the printer name) becomes the title, foreground, and
//                  topmost at 100, 100 when there is no owner; the header band speaks; TRUE.
//   WM_DRAWITEM    the header band (PaintWizardHeader).
//   WM_COMMAND     control 1 ends the dialog with 1, control 2 (also Esc and the close box) with 2;
//                  TRUE for those, FALSE for every other control (the header button included).
//   anything else  FALSE.
INT_PTR WizardDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, const WizardLook &look);

// Runs a wizard dialog modally from the module's resources with the printer name as creation
// parameter; DialogBoxParamW's result (-1 when the dialog cannot be created, and without creating it
// where the process has no visible window station).
INT_PTR RunWizardDialog(int templateId, HWND owner, DLGPROC procedure, LPCWSTR printerName);
