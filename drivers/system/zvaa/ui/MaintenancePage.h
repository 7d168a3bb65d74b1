// The ink-cartridge maintenance page of the printer's properties (IPrintOemUI::DevicePropertySheets).
#pragma once

#include "core/PlatformRecords.h"

HRESULT AddMaintenancePage(PPROPSHEETUI_INFO info, LPARAM lParam);
