// Dialog 104, the alignment dialog: the user reads the printed alignment page and enters, for each
// category shown, the number of the straightest pattern; OK stores the values within the model's
// bounds and clears AlignNeed.
#pragma once

#include <windows.h>

#include "core/ModelProfile.h"

// Prints the alignment page (with its retry prompt), then runs dialog 104 owned by `owner`. When the
// print failed and the user gave it up, there is no page to read: dialog 104 is not opened and
// AlignNeed stays as it is. 1 when dialog 104 ran, 0 otherwise.
int RunAlignment(HWND owner, LPCWSTR printerName);

INT_PTR CALLBACK AlignDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Reads the edit's number (as _wtoi reads it), brings it within the bounds of value `index` of
// `combo` and corrects the edit's text when the number was out of bounds or the text does not say
// a zero it means ("", "-", "00"). Returns the number.
LONG ValidateAlignEdit(HWND dialog, int editId, CartridgeCombo combo, int index);

// A spin arrow: SB_LINEUP adds 1 below 30, SB_LINEDOWN takes 1 above 0, and the value is written
// into the edit (whose validation then applies the combination's bounds); 1. Any other request
// (thumb, page) leaves the edit alone; 0.
int StepAlignEdit(HWND dialog, WPARAM request, int editId, LONG value);
