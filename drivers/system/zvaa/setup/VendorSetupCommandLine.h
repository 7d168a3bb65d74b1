// The printer name in the command line that rundll32 gives OEMStartVendorSetup.
#pragma once

#include <windows.h>

#include "ui/DialogConventions.h"

// The text between the last two double quotes of the ANSI command line, converted as the C runtime
// converts multibyte text. False, with an empty name, when the line is null, has fewer than two
// double quotes, or does not fit 260 wide characters with its terminator (a longer line is refused
// whole rather than cut, so that no other printer's name can come out of it).
bool PrinterNameFromCommandLine(LPCSTR commandLine, WCHAR (&name)[kTextChars]);
