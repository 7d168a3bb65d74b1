// Dialogs 152 and 153: instructions for manual paper feed and for banner paper, shown before a print.
// Nothing of their own beyond the wizard look.
#include "resources/ResourceIds.h"
#include "ui/PromptDialogs.h"
#include "ui/WizardDialog.h"
#include "ui/WizardHeader.h"

namespace {
constexpr WizardLook kManualFeed = {IDC_HEADER_MANUAL_FEED, HeaderStrings::kManualFeed};
constexpr WizardLook kBanner = {IDC_HEADER_BANNER, HeaderStrings::kBanner};
}  // namespace

INT_PTR CALLBACK ManualFeedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return WizardDialogMessage(dialog, message, wParam, lParam, kManualFeed);
}

INT_PTR CALLBACK BannerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return WizardDialogMessage(dialog, message, wParam, lParam, kBanner);
}
