// The spooler's level-2 record of a printer, fetched by name or through a handle the caller holds.
#pragma once

#include <windows.h>
#include <winspool.h>

// The record in one heap block, which the caller frees with FreePrinterInfo; null when the printer
// cannot be opened or its record cannot be had. A handle given stays open; without one the printer
// is opened by name (PRINTER_ACCESS_USE) and closed again.
PRINTER_INFO_2W *FetchPrinterInfo(LPCWSTR printerName, HANDLE printer);
void FreePrinterInfo(PRINTER_INFO_2W *info);

// TRUE when the printer is a connection to a printer on another machine (its record names a server);
// FALSE otherwise, also when no record can be had.
BOOL IsRemotePrinter(LPCWSTR printerName, HANDLE printer);
