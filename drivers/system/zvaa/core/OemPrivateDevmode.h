// The plug-in's private section of the driver's devmode: the platform's section header and one
// setting. The section travels with saved printer and document settings, so its layout is fixed.
#pragma once

#include "core/PlatformRecords.h"

#pragma pack(push, 4)
struct OemPrivateDevmode {
    OEM_DMEXTRAHEADER header;  // dwSize 16, dwSignature 'ZVRN', dwVersion 1
    LONG OemUiValue;           // 0 to 100, 0 by default
};
#pragma pack(pop)
static_assert(sizeof(OemPrivateDevmode) == 16, "stored section layout");

constexpr LONG kOemUiValueMax = 100;

// Signature of the plug-in: heads its private devmode section and answers OEMGI_GETSIGNATURE.
constexpr DWORD kOemSignature = 0x5A56524E;  // 'ZVRN'
constexpr DWORD kOemVersion = 1;

// IPrintOemUI::DevMode: OEMDM_SIZE, _DEFAULT, _CONVERT and _MERGE.
HRESULT OemDevMode(DWORD mode, POEMDMPARAM param);

// Carries an input section over into the output section; false when either is missing.
bool ConvertOemDevmode(const OemPrivateDevmode *in, OemPrivateDevmode *out);

// Rewrites the header and resets a setting above 100; false when the section is missing.
bool ValidateOemDevmode(OemPrivateDevmode *section);
