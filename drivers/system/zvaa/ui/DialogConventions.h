// Habits every dialog of the plug-in shares: the printer name travels as the dialog's title, a
// dialog without owner stands topmost at 100, 100, and controls 1 and 2 end it with their own id.
#pragma once

#include <windows.h>

#include "core/TextBuffers.h"

// For WM_INITDIALOG: makes `printerName` (the creation parameter, a wide string) the title, brings
// the dialog to the foreground and, when it has no owner, makes it topmost at 100, 100.
void BeginDialog(HWND dialog, LPARAM printerName);

// Makes the dialog topmost at screen position 100, 100 without changing its size.
void PlaceOwnerlessDialog(HWND dialog);

// Reads the printer name back from the dialog's title; empty when there is none.
void GetDialogPrinterName(HWND dialog, WCHAR (&name)[kTextChars]);

// For WM_COMMAND: control 1 ends the dialog with 1, control 2 (also Esc and the close box) with 2.
// True when the command was one of them.
bool EndOnStandardButton(HWND dialog, WPARAM wParam);
