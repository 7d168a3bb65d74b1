// The host's own look at a printer's state key and port, for the demo's report: read straight from
// the registry and the port file, independent of the plug-in's code.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// HKLM path of the printer's state key, from its "OriginalFriendlyName" printer data ("OFN1" when
// the printer has none, as the plug-in does); empty when the printer cannot be opened.
std::wstring StateKeyPathOf(const std::wstring &printer);

// Every value of the key as its name and its text (a 4-byte value as a signed number), in the
// registry's order; empty when there is no key.
std::vector<std::pair<std::wstring, std::wstring>> ReadStateKey(const std::wstring &printer);

// Sets one 32-bit counter of the key, as the print-time components do when ink is used.
bool SetStateCounter(const std::wstring &printer, const wchar_t *valueName, DWORD value);

// The bytes a port that is a Unix file (or a Windows path) has received so far.
std::string ReadPortFile(const std::wstring &port);
// Empties the port file, so that what it holds next is one job's bytes.
bool ClearPortFile(const std::wstring &port);
// A Windows path for a Unix one under Wine (unchanged when it is not a Unix path).
std::wstring WindowsPathOf(const std::wstring &path);
