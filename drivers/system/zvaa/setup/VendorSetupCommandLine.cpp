#include "setup/VendorSetupCommandLine.h"

#include <stdlib.h>
#include <strsafe.h>
#include <wchar.h>

BOOL PrinterNameFromCommandLine(LPCSTR commandLine, WCHAR (&name)[kPrinterNameChars]) {
    name[0] = L'\0';
    if (!commandLine) return FALSE;

    const size_t needed = mbstowcs(nullptr, commandLine, 0);
    if (needed == static_cast<size_t>(-1) || needed >= kPrinterNameChars) return FALSE;
    WCHAR line[kPrinterNameChars];
    if (mbstowcs(line, commandLine, kPrinterNameChars) == static_cast<size_t>(-1)) return FALSE;
    line[kPrinterNameChars - 1] = L'\0';

    WCHAR *closing = wcsrchr(line, L'"');
    if (!closing) return FALSE;
    *closing = L'\0';
    const WCHAR *opening = wcsrchr(line, L'"');
    if (!opening) return FALSE;
    return SUCCEEDED(StringCchCopyW(name, kPrinterNameChars, opening + 1));
}
