// The folder that holds the driver's own files: the spooler's driver directory plus "\3\", of the
// process's own environment, or of x64 in a 32-bit process on 64-bit Windows (WOW64). Every user of
// the driver folder (driver INI, print files, colour-data path) takes it from here.
#pragma once

#include <windows.h>

// Writes the folder, ending in a backslash, into dir (cchDir wide characters). False when the
// spooler cannot tell its driver directory or the folder does not fit; dir is then empty.
bool GetDriverFilesDir(LPWSTR dir, size_t cchDir);
