// The folder that holds the driver's own files: the spooler's driver directory plus "\3\".
#pragma once

#include <windows.h>

// Writes the folder, ending in a backslash, into dir (cchDir wide characters). False when the
// spooler cannot tell its driver directory or the folder does not fit; dir is then empty.
bool GetDriverFilesDir(LPWSTR dir, size_t cchDir);
