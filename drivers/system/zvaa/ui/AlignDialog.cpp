#include "ui/AlignDialog.h"

#include <stdlib.h>
#include <strsafe.h>

#include "core/CartridgeRules.h"
#include "core/Owned.h"
#include "jobs/MaintenancePrints.h"
#include "resources/ResourceIds.h"
#include "state/PrinterStateKey.h"
#include "ui/AccessibleControl.h"
#include "ui/UnsavedSettingsMessage.h"
#include "ui/WizardDialog.h"
#include "ui/WizardHeader.h"

namespace {

constexpr WizardLook kLook = {IDC_HEADER_ALIGN, HeaderStrings::kAlignment};

// Groups A to F; group g carries alignment value g.
struct ValueGroup {
    int box, label, edit, spin, example;
};
constexpr ValueGroup kGroups[kMaxAlignValues] = {
    {IDC_GROUP_A, IDC_LABEL_A, IDC_EDIT_A, IDC_SPIN_A, IDC_EXAMPLE_A},
    {IDC_GROUP_B, IDC_LABEL_B, IDC_EDIT_B, IDC_SPIN_B, IDC_EXAMPLE_B},
    {IDC_GROUP_C, IDC_LABEL_C, IDC_EDIT_C, IDC_SPIN_C, IDC_EXAMPLE_C},
    {IDC_GROUP_D, IDC_LABEL_D, IDC_EDIT_D, IDC_SPIN_D, IDC_EXAMPLE_D},
    {IDC_GROUP_E, IDC_LABEL_E, IDC_EDIT_E, IDC_SPIN_E, IDC_EXAMPLE_E},
    {IDC_GROUP_F, IDC_LABEL_F, IDC_EDIT_F, IDC_SPIN_F, IDC_EXAMPLE_F},
};

// The spin arrows' own range, whatever the combination allows.
constexpr LONG kSpinMinimum = 0;
constexpr LONG kSpinMaximum = 30;
constexpr int kEditChars = 10;  // nine characters are read
constexpr int kTypedDigits = 2;

int GroupOfEdit(int id) {
    for (int g = 0; g < kMaxAlignValues; ++g)
        if (kGroups[g].edit == id) return g;
    return -1;
}

int GroupOfSpin(int id) {
    for (int g = 0; g < kMaxAlignValues; ++g)
        if (kGroups[g].spin == id) return g;
    return -1;
}

// The pair as stored; one that cannot be read counts as no pair at all (an invalid combination,
// whose single value has the bounds 0 to 0).
void ReadPair(LPCWSTR printer, CartridgeType *left, CartridgeType *right) {
    *left = kCartNone;
    *right = kCartNone;
    if (!ReadCartridges(printer, left, right)) *left = *right = kCartNone;
}

CartridgeCombo StoredCombo(HWND dialog) {
    WCHAR printer[kTextChars];
    GetDialogPrinterName(dialog, printer);
    CartridgeType left, right;
    ReadPair(printer, &left, &right);
    return ClassifyCartridges(left, right);
}

void SetEditNumber(HWND dialog, int editId, LONG value, WCHAR (&text)[kEditChars]) {
    if (FAILED(StringCchPrintfW(text, kEditChars, L"%ld", value))) text[0] = L'\0';
    SetDlgItemTextW(dialog, editId, text);
}

// A reader hears an example picture by its group ("Exempel A"): the button's own text is the letter.
bool DescribeExample(HWND button, const void *, SpokenControl *spoken) {
    WCHAR letter[8] = L"", format[kTextChars];
    GetWindowTextW(button, letter, ARRAYSIZE(letter));
    if (LoadStringW(Model().module, IDS_EXAMPLE_NAME, format, kTextChars) <= 0) return false;
    if (FAILED(StringCchPrintfW(spoken->name, ARRAYSIZE(spoken->name), format, letter))) return false;
    spoken->role = ROLE_SYSTEM_GRAPHIC;
    return true;
}

INT_PTR Start(HWND dialog, LPARAM lParam) {
    BeginDialog(dialog, lParam);
    SpeakWizardHeader(dialog, kLook);
    for (const ValueGroup &group : kGroups) SpeakFor(GetDlgItem(dialog, group.example), DescribeExample, nullptr);
    WCHAR printer[kTextChars];
    GetDialogPrinterName(dialog, printer);

    CartridgeType left, right;
    ReadPair(printer, &left, &right);
    CartridgeCombo combo = kComboInvalid;
    const DWORD count = GetAlignValueCount(left, right, &combo);

    for (DWORD g = 0; g < count && g < kMaxAlignValues; ++g) {
        const int ids[] = {kGroups[g].box, kGroups[g].label, kGroups[g].edit, kGroups[g].spin, kGroups[g].example};
        for (int id : ids) ShowWindow(GetDlgItem(dialog, id), SW_SHOW);
    }

    // A value that cannot be read (black only and colour only store none before the first OK) starts
    // at the model's default; the validation below brings it within the bounds.
    LONG values[kMaxAlignValues] = {};
    if (combo >= 0 && combo < kComboRows) {
        for (int i = 0; i < kMaxAlignValues; ++i) values[i] = Model().alignDefaults[combo][i];
    }
    ReadAlignValues(printer, values);

    for (int g = 0; g < kMaxAlignValues; ++g) {
        WCHAR text[kEditChars];
        SetEditNumber(dialog, kGroups[g].edit, values[g], text);
    }
    for (const ValueGroup &group : kGroups) SendDlgItemMessageW(dialog, group.edit, EM_LIMITTEXT, kTypedDigits, 0);
    SendDlgItemMessageW(dialog, IDC_EDIT_A, EM_SETSEL, 0, -1);
    return TRUE;
}

void EndAlignment(HWND dialog, INT_PTR result) {
    WCHAR printer[kTextChars];
    GetDialogPrinterName(dialog, printer);
    WriteOutcome stored;
    if (result == IDOK) {
        const CartridgeCombo combo = StoredCombo(dialog);
        LONG values[kMaxAlignValues];
        for (int g = 0; g < kMaxAlignValues; ++g) values[g] = ValidateAlignEdit(dialog, kGroups[g].edit, combo, g);
        stored.Note(WriteAlignValues(printer, values));
    }
    stored.Note(WriteAlignNeed(printer, 0));
    // The values a person typed are lost if they could not be stored: say so before the dialog goes.
    if (stored.Failed() && result == IDOK) TellSettingsNotSaved(dialog, stored.Reason());
    EndDialog(dialog, result);
}

INT_PTR Command(HWND dialog, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int group = GroupOfEdit(id);
    if (group >= 0) {
        if (HIWORD(wParam) == EN_CHANGE) ValidateAlignEdit(dialog, id, StoredCombo(dialog), group);
        return TRUE;
    }
    if (id == IDOK || id == IDCANCEL) {
        EndAlignment(dialog, id);
        return TRUE;
    }
    return FALSE;
}

INT_PTR Spin(HWND dialog, WPARAM wParam, LPARAM lParam) {
    const int group = GroupOfSpin(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
    if (group < 0) return FALSE;
    const LONG value = ValidateAlignEdit(dialog, kGroups[group].edit, StoredCombo(dialog), group);
    return StepAlignEdit(dialog, wParam, kGroups[group].edit, value);
}

// The example picture of a group for the stored pair; 0 when the group shows none.
UINT ExamplePicture(int group, CartridgeType right, CartridgeCombo combo) {
    const bool photo = right == kCartPhoto;
    switch (group) {
    case 0: return combo == kComboColourOnly ? IDB_ALIGN_EXAMPLE_NONE : IDB_ALIGN_EXAMPLE_A;
    case 1: return IDB_ALIGN_EXAMPLE_B;
    case 2: return photo ? IDB_ALIGN_EXAMPLE_BLACK_E : IDB_ALIGN_EXAMPLE_BLACK;
    case 3: return photo ? IDB_ALIGN_EXAMPLE_BLUE_F : IDB_ALIGN_EXAMPLE_BLUE;
    case 4: return photo ? 0 : IDB_ALIGN_EXAMPLE_BLACK_E;
    case 5: return photo ? 0 : IDB_ALIGN_EXAMPLE_BLUE_F;
    default: return 0;
    }
}

// Paints the whole item, so that a focus mark drawn before never stays behind: the picture, or the
// dialog's ground where there is none (picture 156 is not among the resources: colour only shows no
// example A).
void DrawExamplePicture(const DRAWITEMSTRUCT *item, UINT pictureId) {
    const ResourceBitmapDc picture(item->hDC, Model().module, pictureId, ResourceBitmapDc::kScreenBitmap);
    if (!picture) {
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    StretchBlt(item->hDC, 0, 0, item->rcItem.right, item->rcItem.bottom, picture.dc(), 0, 0, picture.width(),
               picture.height(), SRCCOPY);
}

INT_PTR DrawItem(HWND dialog, WPARAM wParam, LPARAM lParam) {
    const int id = static_cast<int>(wParam);
    if (id == kLook.headerId) return PaintWizardHeader(dialog, wParam, lParam, kLook);
    if (id < IDC_EXAMPLE_A || id > IDC_EXAMPLE_F) return FALSE;
    const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
    if (!item || !item->hDC) return FALSE;

    WCHAR printer[kTextChars];
    GetDialogPrinterName(dialog, printer);
    CartridgeType left, right;
    ReadPair(printer, &left, &right);
    const UINT pictureId = ExamplePicture(id - IDC_EXAMPLE_A, right, ClassifyCartridges(left, right));
    if (pictureId) DrawExamplePicture(item, pictureId);
    // The pictures are tab stops: the focus shows on them as on any other control.
    if (item->itemState & ODS_FOCUS) {
        RECT focus = item->rcItem;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(item->hDC, &focus);
    }
    return TRUE;
}

}  // namespace

LONG ValidateAlignEdit(HWND dialog, int editId, CartridgeCombo combo, int index) {
    WCHAR text[kEditChars] = L"";
    if (GetDlgItemTextW(dialog, editId, text, kEditChars) <= 0) text[0] = L'\0';
    // Nine characters at most, so the number fits a LONG.
    LONG value = _wtol(text);

    // AlignMaximum and AlignMinimum give 0 to 0 for a combination without a row (an invalid pair).
    const LONG maximum = AlignMaximum(combo, index);
    const LONG minimum = AlignMinimum(combo, index);
    if (value > maximum) {
        value = maximum;
        SetEditNumber(dialog, editId, value, text);
    }
    if (value < minimum) {
        value = minimum;
        SetEditNumber(dialog, editId, value, text);
    }
    if (value == 0 && lstrcmpW(text, L"0") != 0) SetEditNumber(dialog, editId, 0, text);
    return value;
}

int StepAlignEdit(HWND dialog, WPARAM request, int editId, LONG value) {
    if (request == SB_LINEUP) {
        if (value < kSpinMaximum) ++value;
    } else if (request == SB_LINEDOWN) {
        if (value > kSpinMinimum) --value;
    } else {
        return 0;
    }
    WCHAR text[kEditChars];
    SetEditNumber(dialog, editId, value, text);
    return 1;
}

INT_PTR CALLBACK AlignDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return Start(dialog, lParam);
    case WM_COMMAND: return Command(dialog, wParam);
    case WM_VSCROLL: return Spin(dialog, wParam, lParam);
    case WM_DRAWITEM: return DrawItem(dialog, wParam, lParam);
    case WM_SYSCOMMAND:
        // The close box ends the alignment as Cancel does, before the platform's own handling.
        if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
        EndAlignment(dialog, IDCANCEL);
        return TRUE;
    default: return FALSE;
    }
}

int RunAlignment(HWND owner, LPCWSTR printerName) {
    if (!PrintAlignmentPage(owner, printerName)) return 0;
    return RunWizardDialog(IDD_ALIGNMENT, owner, AlignDialogProc, printerName) == -1 ? 0 : 1;
}
