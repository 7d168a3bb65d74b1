// Printer installation and driver removal events from the spooler.
#pragma once

#include "core/PlatformRecords.h"

// PRINTER_EVENT_INITIALIZE prepares the printer's state and, when the configuration asks for it,
// makes it the default printer: of the user whose token lParam carries (impersonated for the call),
// else of the caller. E_FAIL only when the state could not be prepared.
HRESULT OemPrinterEvent(PWSTR printerName, INT event, DWORD flags, LPARAM lParam);
// DRIVER_EVENT_DELETE removes the state keys of the driver's printers and the library's copy in the
// system directory (a 64-bit build: in both system directories, 64-bit and 32-bit). Always S_OK.
HRESULT OemDriverEvent(DWORD event, DWORD level, LPBYTE driverInfo, LPARAM lParam);

// Moves an existing file to a fresh "ZV" temporary file name; true when it was moved.
bool MoveFileToTemp(LPCWSTR path);
