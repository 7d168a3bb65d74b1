// The state keys of a driver's printers, removed together when the driver is deleted.
#pragma once

#include <windows.h>

// Deletes the state keys of the driver's printers. Keys are named "<driver> <port>": a key is the
// driver's when the driver name and a blank begin its name (case-sensitive) and no longer name of a
// driver the spooler still lists begins it the same way (that key is the longer driver's printer's).
// The deleted driver's own name in the spooler's list protects nothing. A listing that fails (as it
// may while other drivers come and go) is asked for again a few times; when the list still cannot be
// read, no key can be told to be the driver's, so every key stays. A null or empty driver name deletes
// nothing either. Always true.
bool DeleteDriverStateKeys(LPCWSTR driverName);
