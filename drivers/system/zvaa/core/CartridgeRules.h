// What a pair of installed cartridges means: its combination, its number of alignment values, and
// the names and files that belong to each cartridge type and combination.
#pragma once

#include "core/ModelProfile.h"

CartridgeCombo ClassifyCartridges(CartridgeType left, CartridgeType right);

// Writes the pair's combination to *combo and returns its number of alignment values, 1 to 6.
DWORD GetAlignValueCount(CartridgeType left, CartridgeType right, CartridgeCombo *combo);

DWORD MinOfThree(DWORD a, DWORD b, DWORD c);

bool IsKnownCartridgeType(CartridgeType type);

// Driver-INI key holding a type's localised name; null for type 0 and unknown types.
const wchar_t *CartridgeIniKey(CartridgeType type);
// String-table id of a type's default name; unknown types get the "no cartridge" text.
UINT CartridgeNameStringId(CartridgeType type);
// Which ink-level picture set shows a type; -1 for types that have none (0 and unknown).
int CartridgePictureSet(CartridgeType type);

// Registry value-name stem of a combination's alignment values ("AlignCMYK_" ...).
const wchar_t *AlignValueNameStem(CartridgeCombo combo);
// File-name endings, after the driver prefix, of a combination's print files.
const wchar_t *CleaningFileName(CartridgeCombo combo);
const wchar_t *AlignmentFileName(CartridgeCombo combo);
