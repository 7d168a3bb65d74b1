#include "core/CommonUiItems.h"

// The item adjustments are not built yet: the driver keeps its own items unchanged.
HRESULT OemCommonUIProp(DWORD, POEMCUIPPARAM) { return E_NOTIMPL; }
