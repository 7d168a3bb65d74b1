// The cartridge dialogs: 154 (identification, after installation, no owner) and 113 (install or
// change a cartridge, owned by the maintenance page). Continue stores the pair, marks the heads for
// alignment, refills the counters of new cartridges and leads on to the alignment preparation.
#pragma once

#include <windows.h>

#include "core/ModelProfile.h"

// Dialog 154 / dialog 113, modal, owned by `owner` (may be null), with the printer name as title.
// 1 when the dialog ran, whichever button closed it; 0 when it could not be created. Return only
// when everything Continue started (dialog 151, the alignment print, dialog 104) has closed.
int PopupCartridgeIdentifyDialog(HWND owner, LPCWSTR printerName);
int PopupCartridgeInstallDialog(HWND owner, LPCWSTR printerName);

// The procedure of both dialogs.
INT_PTR CALLBACK CartridgeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Which list index each CartridgeType was given in a holder's combo box; -1 when not added.
typedef LONG CartEntryIndexTable[kCartridgeTypeCount];

// Fills one holder's combo box with the types of `mask` in the fixed list order, each named by the
// printer's driver INI or the string table, records their indexes in `indexes`, and selects
// `selected`. A type that is not in the list (or not a type at all) leaves no entry selected.
void FillCartridgeCombo(HWND dialog, LPCWSTR printerName, int comboId, CartEntryIndexTable &indexes, DWORD mask,
                        CartridgeType selected);

// The type whose recorded index is `selection`; a selection of -1 counts as entry 0. kCartNone
// when no type was recorded under it.
CartridgeType CartridgeTypeAtIndex(const CartEntryIndexTable &indexes, LRESULT selection);
