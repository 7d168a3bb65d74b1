#include "ui/CartridgeCaption.h"

#include "core/CartridgeRules.h"
#include "core/TextBuffers.h"
#include "state/DriverIni.h"

void SetCartridgeCaption(HWND page, LPCWSTR printerName, int captionId, CartridgeType type) {
    WCHAR caption[kTextChars] = {};
    const wchar_t *iniKey = CartridgeIniKey(type);  // null for type 0 and unknown types
    if (!iniKey || !GetDriverIniString(printerName, iniKey, caption, ARRAYSIZE(caption)))
        LoadStringW(Model().module, CartridgeNameStringId(type), caption, ARRAYSIZE(caption));
    SetDlgItemTextW(page, captionId, caption);
}
