// The spooler calls that install a printer: a driver (version 3) whose three files lie in the driver
// files directory, and a raw printer on a given port. The caller writes the files and removes what it
// installed.
#pragma once

#include <string>

// The driver files directory of the local spooler, Windows path ending in "\3\"; empty on failure.
std::wstring DriverFilesDirectory();
// AddPrinterDriverW level 3 with the files named (file names inside the driver files directory);
// an installed driver of that name counts as success when `acceptInstalled` is set. On failure
// GetLastError() is the spooler's.
bool AddDriverOfFiles(const std::wstring &driver, const std::wstring &driverFile, const std::wstring &dataFile,
                      const std::wstring &configFile, bool acceptInstalled);
// AddPrinterW level 2: `printer` on `driver` and `port`, print processor WinPrint, data type RAW.
bool AddPrinterOnPort(const std::wstring &printer, const std::wstring &driver, const std::wstring &port);
// TRUE when the spooler opens a printer of that name.
bool PrinterExists(const std::wstring &printer);
