#include "ui/CartridgeCaption.h"

#include "core/CartridgeRules.h"
#include "state/DriverIni.h"

void CartridgeCaptionText(LPCWSTR printerName, CartridgeType type, WCHAR (&caption)[kTextChars]) {
    caption[0] = L'\0';
    const wchar_t *iniKey = CartridgeIniKey(type);  // null for type 0 and unknown types
    if (iniKey && GetDriverIniString(printerName, iniKey, caption, kTextChars)) return;
    if (LoadStringW(Model().module, CartridgeNameStringId(type), caption, kTextChars) <= 0) caption[0] = L'\0';
}

void SetCartridgeCaption(HWND page, LPCWSTR printerName, int captionId, CartridgeType type) {
    WCHAR caption[kTextChars];
    CartridgeCaptionText(printerName, type, caption);
    SetDlgItemTextW(page, captionId, caption);
}
