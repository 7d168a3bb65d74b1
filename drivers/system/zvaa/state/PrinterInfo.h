// The spooler's level-2 record of a printer, fetched by name or through a handle the caller holds.
#pragma once

#include <windows.h>
#include <winspool.h>

// The record in one block of the process heap, which the caller frees with FreePrinterInfo or hands
// to a UniquePrinterRecord; null when the printer
// cannot be opened or its record cannot be had. A handle given stays open; without one the printer
// is opened by name (PRINTER_ACCESS_USE) and closed again.
PRINTER_INFO_2W *FetchPrinterInfo(LPCWSTR printerName, HANDLE printer);
void FreePrinterInfo(PRINTER_INFO_2W *info);

// True when the printer is a connection to a printer on another machine (its record names a server);
// false otherwise, also when no record can be had.
bool IsRemotePrinter(LPCWSTR printerName, HANDLE printer);
