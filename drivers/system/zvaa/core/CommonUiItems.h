// Adjustments of the driver's common property items (IPrintOemUI::CommonUIProp): the document sheet
// hides the colour-matching items, locks the colour item for pairs that cannot print in both modes,
// ties print quality to the quality item (DMPUB_QUALITY) and carries the plug-in's value from the
// private devmode section; the printer sheet stores the plug-in's value as printer data "OEMUI_VALUE".
#pragma once

#include "core/PlatformRecords.h"

HRESULT OemCommonUIProp(DWORD mode, POEMCUIPPARAM param);

// The callbacks registered for the two sheets.
LONG APIENTRY DocumentItemCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param);
LONG APIENTRY PrinterItemCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param);

// Clears the plug-in's items and makes each a bare item with only its size set.
void InitOemItems(POPTITEM items, DWORD count);
