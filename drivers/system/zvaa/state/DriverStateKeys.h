// The state keys of a driver's printers, removed together when the driver is deleted.
#pragma once

#include <windows.h>

// Deletes the state keys of the driver's printers. Keys are named "<driver> <port>": a key is the
// driver's when the driver name and a blank begin its name (case-sensitive) and no longer name of a
// driver the spooler still lists begins it the same way (that key is the longer driver's printer's).
// The deleted driver's own name in the spooler's list protects nothing. A null or empty driver name,
// or a spooler that cannot list its drivers, deletes nothing. Always true.
bool DeleteDriverStateKeys(LPCWSTR driverName);
