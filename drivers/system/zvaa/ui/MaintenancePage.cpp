#include "ui/MaintenancePage.h"

// The maintenance page is not built yet: the printer's properties show the driver's pages only.
HRESULT AddMaintenancePage(PPROPSHEETUI_INFO, LPARAM) { return E_NOTIMPL; }
