// Spooler entries that the library imports by ordinal (import library from SpoolerOrdinals.def).
#pragma once

#include <windows.h>

// Ordinal 204 of winspool.drv: makes the named printer the default printer.
extern "C" BOOL WINAPI SpoolerSetDefaultPrinter(LPCWSTR printerName);
