// The driver's own INI file among the ".ini" files of the driver files directory, its values (which
// may be localised in "Strings.XXXX" sections), and the on/off switches of the configuration INI.
#pragma once

#include <windows.h>

// Full path of the INI whose [OEMFiles] OEMDriverName equals the printer's driver name (exactly,
// case-sensitive); the first such file in the listing. False when there is none.
bool FindDriverIni(LPCWSTR printerName, LPWSTR path, size_t cchPath);

// Looks `key` up in [OEMFiles], then in Strings.<user locale>, Strings.<its primary language>,
// Strings.<system locale>, Strings.<its primary language>. True with the value in `out` (cut to
// cchOut); false when there is no value, `out` then holds "Not Found" (as far as it fits), or when
// there is no output or no driver INI. A value that reads exactly "Not Found" counts as missing.
bool GetDriverIniString(LPCWSTR printerName, LPCWSTR key, LPWSTR out, size_t cchOut);

// A switch of [OEMConfig] in the configuration INI: the file the driver INI names as PLC when it can
// be opened (a bare file name in the driver files directory, else a full path), else <system directory>\zvaaPLC.INI. "1" gives 1, "0" gives 0, anything else (missing,
// empty, other text) gives the default.
BOOL GetConfigSwitch(LPCWSTR printerName, LPCWSTR key, BOOL defaultValue);
