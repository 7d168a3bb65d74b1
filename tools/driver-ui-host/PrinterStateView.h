// The host's look at a printer's state key, for the demo's report: read and written through the test
// bed's state-key probe, independent of the plug-in's code.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Every value of the printer's key as its name and its text (a 4-byte value as a signed number), in
// the registry's order; empty when there is no key.
std::vector<std::pair<std::wstring, std::wstring>> ReadStateKey(const std::wstring &printer);

// Sets one 32-bit counter of the key, as the print-time components do when ink is used.
bool SetStateCounter(const std::wstring &printer, const wchar_t *valueName, DWORD value);
