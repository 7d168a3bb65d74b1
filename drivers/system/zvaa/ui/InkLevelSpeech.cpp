#include "ui/InkLevelSpeech.h"

#include <strsafe.h>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "state/PrinterStateKey.h"
#include "ui/CartridgeCaption.h"
#include "ui/InkLevelPicture.h"

namespace {

// The steps whose pictures carry the warning sign, short of empty.
constexpr int kLastAlmostEmptyStep = 2;

void LevelWords(const InkReading &reading, WCHAR (&value)[kTextChars]) {
    value[0] = L'\0';
    if (reading.step < 0) return;  // no cartridge: nothing to tell
    UINT id = IDS_INK_PERCENT;
    if (reading.step == kUnknownInkStep) id = IDS_INK_UNKNOWN;
    else if (reading.step == 0) id = IDS_INK_EMPTY;
    else if (reading.step <= kLastAlmostEmptyStep) id = IDS_INK_ALMOST_EMPTY;
    WCHAR format[kTextChars];
    if (LoadStringW(Model().module, id, format, kTextChars) <= 0) return;
    if (FAILED(StringCchPrintfW(value, kTextChars, format, reading.percent))) value[0] = L'\0';
}

}  // namespace

bool DescribeInkLevelPicture(HWND button, const void *, SpokenControl *spoken) {
    const HWND page = GetParent(button);
    const int id = GetDlgCtrlID(button);
    if (id != IDC_LEFT_INK && id != IDC_RIGHT_INK) return false;
    WCHAR printer[kTextChars] = L"";
    GetDlgItemTextW(page, IDC_LEFT_INK, printer, kTextChars);
    GetDlgItemTextW(page, id == IDC_LEFT_INK ? IDC_LEFT_LABEL : IDC_RIGHT_LABEL, spoken->name, kTextChars);
    spoken->role = ROLE_SYSTEM_GRAPHIC;

    CartridgeType left = kCartNone, right = kCartNone;
    InkLevelSet levels = UnknownInkLevels();
    if (!ReadCartridges(printer, &left, &right) || !ReadInkLevels(printer, &levels)) {
        LevelWords({kUnknownInkStep, 0}, spoken->value);
        return true;
    }
    const CartridgeType type = id == IDC_LEFT_INK ? left : right;
    WCHAR caption[kTextChars];
    CartridgeCaptionText(printer, type, caption);
    StringCchCatW(spoken->name, kTextChars, L" ");
    StringCchCatW(spoken->name, kTextChars, caption);
    LevelWords(ReadInkLevel(type, levels), spoken->value);
    return true;
}
