// Adjustments of the driver's common property items (IPrintOemUI::CommonUIProp).
#pragma once

#include "core/PlatformRecords.h"

HRESULT OemCommonUIProp(DWORD mode, POEMCUIPPARAM param);
