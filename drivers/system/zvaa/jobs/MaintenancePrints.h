// The nozzle-cleaning and print-head alignment prints: the prepared print file that fits the
// installed cartridge pair, sent as a raw job, with a Retry/Cancel prompt for as long as it fails.
#pragma once

#include <windows.h>

// Always 1 (the callers do not look at it).
int PrintCleaningPage(HWND owner, LPCWSTR printerName);
// 1 when the page was printed, 0 when the user ended the retry prompt with Cancel.
int PrintAlignmentPage(HWND owner, LPCWSTR printerName);
