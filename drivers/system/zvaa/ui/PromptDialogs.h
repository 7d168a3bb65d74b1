// The setup and print-time prompts: dialog 150 (set up the cartridges now?), 152 (manual paper feed)
// and 153 (banner paper). Their exports are in setup/SetupExports.cpp.
#pragma once

#include <windows.h>

// Dialog 150. Departs from the other dialogs at start: always topmost at 100, 100 and never asks to
// be brought to the foreground. Continue ends it with 1 when "Ja" is checked, else 2; Esc and the
// close box end it with 2.
INT_PTR CALLBACK PreInstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Dialogs 152 and 153: instructions only; Continue gives 1, cancel the print (Esc, close box) 2.
INT_PTR CALLBACK ManualFeedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK BannerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
