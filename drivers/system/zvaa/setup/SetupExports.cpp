// The exports through which the printer software's setup and print-time components, and rundll32,
// put a prompt in front of the user. Each runs its dialog modally without an owner.
#include "zvaaSUI.h"

#include "core/Owned.h"
#include "resources/ResourceIds.h"
#include "setup/VendorSetupCommandLine.h"
#include "state/PrinterInfo.h"
#include "ui/CartridgeDialog.h"
#include "ui/PromptDialogs.h"
#include "ui/WizardDialog.h"

namespace {

// The paper prompts name the printer as the spooler knows it, found by name or by handle.
INT PaperPrompt(LPCWSTR printerName, HANDLE printer, int templateId, DLGPROC procedure) {
    const UniquePrinterRecord info(FetchPrinterInfo(printerName, printer));
    if (!info) return -1;
    return static_cast<INT>(RunWizardDialog(templateId, nullptr, procedure, info->pPrinterName));
}

}  // namespace

INT WINAPI PreInstall(LPCWSTR printerName) {
    return static_cast<INT>(RunWizardDialog(IDD_SETUP_PROMPT, nullptr, PreInstallDialogProc, printerName));
}

INT WINAPI StartPostInstall(LPCWSTR printerName) { return PopupCartridgeIdentifyDialog(nullptr, printerName); }

void WINAPI OEMStartVendorSetup(HWND, HINSTANCE, LPSTR commandLine, int) {
    WCHAR name[kTextChars];
    if (!PrinterNameFromCommandLine(commandLine, name)) return;
    const UniquePrinterRecord info(FetchPrinterInfo(name, nullptr));
    if (info) PopupCartridgeIdentifyDialog(nullptr, info->pPrinterName);
}

INT WINAPI PopupManualDialog(LPCWSTR printerName, HANDLE printer) {
    return PaperPrompt(printerName, printer, IDD_MANUAL_FEED, ManualFeedDialogProc);
}

INT WINAPI PopupBannerDialog(LPCWSTR printerName, HANDLE printer) {
    return PaperPrompt(printerName, printer, IDD_BANNER, BannerDialogProc);
}
