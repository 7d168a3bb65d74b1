#include "jobs/MaintenancePrints.h"

#include <strsafe.h>

#include "core/CartridgeRules.h"
#include "core/Desktop.h"
#include "core/ModelProfile.h"
#include "core/TextBuffers.h"
#include "jobs/PrintFileJob.h"
#include "resources/ResourceIds.h"
#include "state/DriverFilesDir.h"
#include "state/PrinterStateKey.h"

namespace {

using FileNameOfCombo = const wchar_t *(*)(CartridgeCombo);

// Sends the print file of the installed pair until it goes through or the user cancels the prompt.
// True when it was printed.
bool PrintUntilDoneOrCancelled(HWND owner, LPCWSTR printerName, FileNameOfCombo fileName, UINT errorTextId) {
    // Read once, before the first attempt. A folder that cannot be had leaves no path, so every
    // attempt fails as a missing file (the prompt still offers Retry); an unread pair counts as no
    // cartridges, which prints the black-only page like any invalid pair.
    WCHAR folder[MAX_PATH] = L"";
    if (!GetDriverFilesDir(folder, ARRAYSIZE(folder))) folder[0] = L'\0';
    CartridgeType left = kCartNone, right = kCartNone;
    if (!ReadCartridges(printerName, &left, &right)) left = right = kCartNone;

    for (;;) {
        WCHAR path[MAX_PATH] = L"";
        // A path that does not fit is not cut short into another file's name: the attempt fails.
        if (!folder[0] || FAILED(StringCchPrintfW(path, ARRAYSIZE(path), L"%s%s%s", folder, Model().prefix,
                                                  fileName(ClassifyCartridges(left, right)))))
            path[0] = L'\0';
        if (PrintFileJob(printerName, path)) return true;

        WCHAR text[kTextChars] = L"";
        if (LoadStringW(Model().module, errorTextId, text, kTextChars) <= 0) text[0] = L'\0';
        // Anything but Retry (Cancel, or a box that could not be shown, or none shown where nobody
        // could see it) ends the attempts.
        if (!HasVisibleDesktop() || MessageBoxW(owner, text, text, MB_RETRYCANCEL) != IDRETRY) return false;
    }
}

}  // namespace

int PrintCleaningPage(HWND owner, LPCWSTR printerName) {
    PrintUntilDoneOrCancelled(owner, printerName, CleaningFileName, IDS_CLEANING_ERROR);
    return 1;
}

int PrintAlignmentPage(HWND owner, LPCWSTR printerName) {
    return PrintUntilDoneOrCancelled(owner, printerName, AlignmentFileName, IDS_ALIGNMENT_ERROR) ? 1 : 0;
}
