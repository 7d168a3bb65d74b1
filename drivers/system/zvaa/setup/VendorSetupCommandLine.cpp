#include "setup/VendorSetupCommandLine.h"

#include <stdlib.h>
#include <strsafe.h>
#include <wchar.h>

bool PrinterNameFromCommandLine(LPCSTR commandLine, WCHAR (&name)[kTextChars]) {
    name[0] = L'\0';
    if (!commandLine) return false;

    const size_t needed = mbstowcs(nullptr, commandLine, 0);
    if (needed == static_cast<size_t>(-1) || needed >= kTextChars) return false;
    WCHAR line[kTextChars];
    if (mbstowcs(line, commandLine, kTextChars) == static_cast<size_t>(-1)) return false;
    line[kTextChars - 1] = L'\0';

    WCHAR *closing = wcsrchr(line, L'"');
    if (!closing) return false;
    *closing = L'\0';
    const WCHAR *opening = wcsrchr(line, L'"');
    if (!opening) return false;
    return SUCCEEDED(StringCchCopyW(name, kTextChars, opening + 1));
}
