// The ink-cartridge maintenance page of the printer's properties (IPrintOemUI::DevicePropertySheets):
// both ink-level pictures with their cartridge names, and the install, cleaning, alignment and
// order-supplies buttons.
#pragma once

#include "core/PlatformRecords.h"

// The plug-in's DevicePropertySheets: on PROPSHEETUI_REASON_INIT adds page 106 through the sheet's
// pfnComPropSheet, unless the printer is a connection to another machine.
HRESULT AddMaintenancePage(PPROPSHEETUI_INFO info, LPARAM lParam);

// The page's dialog procedure. The printer name arrives as the page record's lParam and is kept as
// the window text of the left picture button.
INT_PTR CALLBACK MaintenancePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
