// The state keys of a driver's printers, removed together when the driver is deleted.
#pragma once

#include <windows.h>

// Deletes every state key whose name contains the driver name (exactly, case-sensitive). A null or
// empty driver name deletes nothing. Always 1.
BOOL DeleteDriverStateKeys(LPCWSTR driverName);
