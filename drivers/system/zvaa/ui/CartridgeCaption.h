// The name of the cartridge type under each ink-level picture of the maintenance page.
#pragma once

#include <windows.h>

#include "core/ModelProfile.h"
#include "core/TextBuffers.h"

// Sets the caption control's text to the type's name: the driver INI's value for the type's key
// when the printer's driver INI has one, else the string table's name; "Ingen bläckpatron" for
// type 0 and for values outside the known types.
void SetCartridgeCaption(HWND page, LPCWSTR printerName, int captionId, CartridgeType type);

// The caption's text itself, as SetCartridgeCaption gives it.
void CartridgeCaptionText(LPCWSTR printerName, CartridgeType type, WCHAR (&caption)[kTextChars]);
