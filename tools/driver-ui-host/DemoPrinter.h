// A demo printer on the local spooler: a driver whose files lie in the driver files directory, a
// printer on a port that is a file, and the plug-in told of its installation.
#pragma once

#include <string>

class DriverUiHost;

// Installs `driver` (files "<stem>.drv/.dat/.cfg" made empty when absent) and adds `printer` on
// `port` (a Unix path under Wine: the spooler writes the raw jobs there), then sends the plug-in the
// printer-installed event. Repeating it for an existing printer only sends the event again.
bool InstallDemoPrinter(DriverUiHost &host, const std::wstring &printer, const std::wstring &driver,
                        const std::wstring &port, std::wstring *message);
