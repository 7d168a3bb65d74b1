// Ordering supplies: the web browser the registry names, opened at the driver INI's supplies address.
#pragma once

#include <windows.h>

#include "core/TextBuffers.h"

// The two browsers the page knows, in the order it prefers them.
constexpr wchar_t kPreferredBrowser[] = L"NETSCAPE.EXE";
constexpr wchar_t kFallbackBrowser[] = L"IEXPLORE.EXE";

// Fills `path` with the full path of the browser registered under HKCR
// "Applications\<exeName>\shell\Open\command" (the key's default value), or leaves it empty when
// that browser is not registered or its file does not exist.
void FindBrowser(LPCWSTR exeName, WCHAR (&path)[kTextChars]);

// 1 when either known browser is installed, 0 otherwise.
int IsBrowserAvailable();

// Starts the browser with the printer's ORDER_URL as one argument (quoted when it has blanks), naming
// the found program as the application; does nothing without a browser or an address, or with an
// address that holds a double quote or a control character.
void OrderSupplies(LPCWSTR printerName);
