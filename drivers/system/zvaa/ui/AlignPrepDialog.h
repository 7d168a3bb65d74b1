// Dialog 151, the alignment preparation: load plain paper, then Continue prints the alignment page
// and opens the alignment dialog; Cancel gives the alignment up.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AlignPrepDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
