// Printer installation and driver removal events from the spooler.
#pragma once

#include "core/PlatformRecords.h"

HRESULT OemPrinterEvent(PWSTR printerName, INT event, DWORD flags, LPARAM lParam);
HRESULT OemDriverEvent(DWORD event, DWORD level, LPBYTE driverInfo, LPARAM lParam);
