#include "setup/PrinterEvents.h"

// Installation and removal handling is not built yet: the events are declined.
HRESULT OemPrinterEvent(PWSTR, INT, DWORD, LPARAM) { return E_NOTIMPL; }
HRESULT OemDriverEvent(DWORD, DWORD, LPBYTE, LPARAM) { return E_NOTIMPL; }
