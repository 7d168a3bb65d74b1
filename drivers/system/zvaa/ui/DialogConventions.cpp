#include "ui/DialogConventions.h"

void BeginDialog(HWND dialog, LPARAM printerName) {
    SetWindowTextW(dialog, reinterpret_cast<LPCWSTR>(printerName));
    SetForegroundWindow(dialog);
    if (!GetParent(dialog)) PlaceOwnerlessDialog(dialog);
}

void PlaceOwnerlessDialog(HWND dialog) { SetWindowPos(dialog, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE); }

void GetDialogPrinterName(HWND dialog, WCHAR (&name)[kTextChars]) {
    name[0] = L'\0';
    if (GetWindowTextW(dialog, name, kTextChars) <= 0) name[0] = L'\0';
}

bool EndOnStandardButton(HWND dialog, WPARAM wParam) {
    const WORD id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL) return false;
    EndDialog(dialog, id);
    return true;
}
