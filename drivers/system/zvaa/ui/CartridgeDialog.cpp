#include "ui/CartridgeDialog.h"

#include "core/CartridgeRules.h"
#include "resources/ResourceIds.h"
#include "state/PrinterStateKey.h"
#include "ui/AlignPrepDialog.h"
#include "ui/CartridgeCaption.h"
#include "ui/UnsavedSettingsMessage.h"
#include "ui/WizardDialog.h"
#include "ui/WizardHeader.h"

namespace {

constexpr WizardLook kIdentifyLook = {IDC_HEADER_IDENTIFY, HeaderStrings::kCartridgeIdentify};
constexpr WizardLook kInstallLook = {IDC_HEADER_INSTALL, HeaderStrings::kCartridgeInstall};

// The order in which a holder's list offers the types, with the option-mask bit of each.
struct ListEntry {
    DWORD maskBit;
    CartridgeType type;
};
constexpr ListEntry kListOrder[] = {
    {0x08, kCartColour}, {0x20, kCartColourHigh}, {0x02, kCartBlack},
    {0x10, kCartBlackHigh}, {0x04, kCartPhoto}, {0x01, kCartNone},
};

// Each dialog keeps its choices in its own controls, so that the dialogs of two printers' property
// sheets open in one process never mix them: every list entry carries its type as item data, and
// the radio buttons say which cartridges are new.
void TagEntriesWithTheirTypes(HWND dialog, int comboId, const CartEntryIndexTable &indexes) {
    for (int type = 0; type < kCartridgeTypeCount; ++type) {
        if (indexes[type] >= 0)
            SendDlgItemMessageW(dialog, comboId, CB_SETITEMDATA, static_cast<WPARAM>(indexes[type]),
                                static_cast<LPARAM>(type));
    }
}

// The type of the holder's selected entry; no selection counts as entry 0, and no entry there as
// no cartridge.
CartridgeType SelectedCartridge(HWND dialog, int comboId) {
    LRESULT selection = SendDlgItemMessageW(dialog, comboId, CB_GETCURSEL, 0, 0);
    if (selection == CB_ERR) selection = 0;
    const LRESULT type = SendDlgItemMessageW(dialog, comboId, CB_GETITEMDATA, static_cast<WPARAM>(selection), 0);
    return (type >= 0 && type < kCartridgeTypeCount) ? static_cast<CartridgeType>(type) : kCartNone;
}

// The look of the dialog a window is: the template carries one of the two header buttons.
const WizardLook &LookOf(HWND dialog) {
    return GetDlgItem(dialog, kIdentifyLook.headerId) ? kIdentifyLook : kInstallLook;
}

// False, leaving the dialog open, for a pair the printer cannot use.
bool Continue(HWND dialog) {
    WCHAR printer[kTextChars];
    GetDialogPrinterName(dialog, printer);

    const CartridgeType right = SelectedCartridge(dialog, IDC_RIGHT_COMBO);
    const CartridgeType left = SelectedCartridge(dialog, IDC_LEFT_COMBO);

    if (ClassifyCartridges(left, right) == kComboInvalid) {
        WCHAR text[kTextChars];
        if (LoadStringW(Model().module, IDS_INVALID_PAIR, text, kTextChars) <= 0) text[0] = L'\0';
        MessageBoxW(dialog, text, text, MB_OK);
        return false;
    }

    // The dialog goes on whatever the writes report, since the alignment that follows is still wanted;
    // but a person whose choices could not be stored is told so first.
    WriteOutcome stored;
    stored.Note(WriteAlignNeed(printer, 1));
    stored.Note(WriteCartridges(printer, left, right));
    if (IsDlgButtonChecked(dialog, IDC_RIGHT_NEW) == BST_CHECKED) stored.Note(RefillInkLevels(printer, right));
    if (IsDlgButtonChecked(dialog, IDC_LEFT_NEW) == BST_CHECKED) stored.Note(RefillInkLevels(printer, left));
    if (stored.Failed()) TellSettingsNotSaved(dialog, stored.Reason());
    EndDialog(dialog, IDOK);

    // The chain goes on under this dialog's own owner, so 151 stands where 154 or 113 stood.
    RunWizardDialog(IDD_ALIGN_PREP, GetParent(dialog), AlignPrepDialogProc, printer);
    return true;
}

INT_PTR Start(HWND dialog, LPARAM lParam) {
    BeginDialog(dialog, lParam);
    SpeakWizardHeader(dialog, LookOf(dialog));
    WCHAR printer[kTextChars];
    GetDialogPrinterName(dialog, printer);

    // An unreadable pair shows the model's default pair, which is also what Continue would take.
    CartridgeType left = Model().defaultLeft, right = Model().defaultRight;
    ReadCartridges(printer, &left, &right);
    CartEntryIndexTable leftIndexes = {-1, -1, -1, -1, -1, -1}, rightIndexes = {-1, -1, -1, -1, -1, -1};
    FillCartridgeCombo(dialog, printer, IDC_LEFT_COMBO, leftIndexes, Model().leftHolderMask, left);
    FillCartridgeCombo(dialog, printer, IDC_RIGHT_COMBO, rightIndexes, Model().rightHolderMask, right);
    TagEntriesWithTheirTypes(dialog, IDC_LEFT_COMBO, leftIndexes);
    TagEntriesWithTheirTypes(dialog, IDC_RIGHT_COMBO, rightIndexes);

    SendDlgItemMessageW(dialog, IDC_LEFT_NEW, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageW(dialog, IDC_RIGHT_NEW, BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
}

}  // namespace

CartridgeType CartridgeTypeAtIndex(const CartEntryIndexTable &indexes, LRESULT selection) {
    if (selection == CB_ERR) selection = 0;
    CartridgeType type = kCartNone;
    for (int t = 0; t < kCartridgeTypeCount; ++t) {
        if (indexes[t] == selection) type = static_cast<CartridgeType>(t);
    }
    return type;
}

void FillCartridgeCombo(HWND dialog, LPCWSTR printerName, int comboId, CartEntryIndexTable &indexes, DWORD mask,
                        CartridgeType selected) {
    SendDlgItemMessageW(dialog, comboId, CB_RESETCONTENT, 0, 0);
    for (const ListEntry &entry : kListOrder) {
        if (!(mask & entry.maskBit)) continue;
        WCHAR text[kTextChars];
        CartridgeCaptionText(printerName, entry.type, text);
        indexes[entry.type] = static_cast<LONG>(
            SendDlgItemMessageW(dialog, comboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    // A damaged key may hold any number: only the six types have a table entry.
    const LONG index = (selected >= 0 && selected < kCartridgeTypeCount) ? indexes[selected] : -1;
    SendDlgItemMessageW(dialog, comboId, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

INT_PTR CALLBACK CartridgeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return Start(dialog, lParam);
    case WM_DRAWITEM: {
        // Either header id paints this dialog's own header; any other control is not painted here.
        const int id = static_cast<int>(wParam);
        if (id != kIdentifyLook.headerId && id != kInstallLook.headerId) return FALSE;
        const WizardLook &look = LookOf(dialog);
        return PaintWizardHeader(dialog, static_cast<WPARAM>(look.headerId), lParam, look);
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: return Continue(dialog);
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        // The radio buttons keep their own state, which Continue reads: a click counts as it
        // leaves the buttons, so a second click on the checked button turns nothing around.
        default: return FALSE;
        }
    default: return FALSE;
    }
}

int PopupCartridgeIdentifyDialog(HWND owner, LPCWSTR printerName) {
    return RunWizardDialog(IDD_CARTRIDGE_IDENTIFY, owner, CartridgeDialogProc, printerName) == -1 ? 0 : 1;
}

int PopupCartridgeInstallDialog(HWND owner, LPCWSTR printerName) {
    return RunWizardDialog(IDD_CARTRIDGE_INSTALL, owner, CartridgeDialogProc, printerName) == -1 ? 0 : 1;
}
