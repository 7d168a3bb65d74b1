// P6 wizard paint: each wizard dialog of the DLL opened as the plug-in opens it (RunWizardDialog: the
// template from the DLL's resources, the dialog's own procedure, the printer name as creation
// parameter), from the call to its first complete paint, against the same template from the same
// module opened with an empty procedure. Both in turns; the ratio of the medians is judged.
#include "Bench.h"

#include <stdio.h>

#include "FirstPaint.h"
#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "state/PrinterStateKey.h"
#include "support/PrinterEnvironment.h"
#include "ui/AlignDialog.h"
#include "ui/AlignPrepDialog.h"
#include "ui/CartridgeDialog.h"
#include "ui/PromptDialogs.h"
#include "ui/WizardDialog.h"

namespace {

constexpr int kRounds = 15;
constexpr double kTarget = 1.5;

struct Wizard {
    int templateId;
    DLGPROC procedure;
    const char *name;
};

const Wizard kWizards[] = {
    {IDD_ALIGNMENT, AlignDialogProc, "104 alignment"},
    {IDD_CARTRIDGE_INSTALL, CartridgeDialogProc, "113 install cartridge"},
    {IDD_SETUP_PROMPT, PreInstallDialogProc, "150 setup prompt"},
    {IDD_ALIGN_PREP, AlignPrepDialogProc, "151 alignment prep"},
    {IDD_MANUAL_FEED, ManualFeedDialogProc, "152 manual feed"},
    {IDD_BANNER, BannerDialogProc, "153 banner"},
    {IDD_CARTRIDGE_IDENTIFY, CartridgeDialogProc, "154 identify cartridge"},
};

INT_PTR CALLBACK EmptyDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Seconds from opening the dialog to its first complete paint; negative when it never painted whole.
double TimeFirstPaint(int templateId, DLGPROC procedure, const std::wstring &printer) {
    FirstPaint watch(EndDialogOf);
    RunWizardDialog(templateId, nullptr, procedure, printer.c_str());
    return watch.Seconds();
}

}  // namespace

bool BenchWizardPaint() {
    // The plug-in's code in this program opens its dialogs from the built DLL's resources.
    HMODULE dll = LoadLibraryW(BesideProgram(L"zvaaSUI.dll").c_str());
    const HMODULE own = Model().module;
    if (dll) InitModelProfile(dll, DLL_PROCESS_ATTACH);
    PrinterEnvironment env;
    env.WriteOwnDriverIni(L"CART_STD=Färgpatron\nCART_BLK=Svart patron\nCART_PHO=Fotopatron\n");
    const std::wstring printer = env.AddTestPrinter();
    bool ready = dll && !printer.empty() && InitPrinterState(printer.c_str());

    bool allMet = ready;
    for (const Wizard &wizard : kWizards) {
        if (!ready) break;
        std::vector<double> withOwn, withEmpty;
        for (int round = 0; ready && round < kRounds; ++round) {
            // The two take turns, each first in every other round.
            const bool ownFirst = round % 2 == 0;
            const double a = TimeFirstPaint(wizard.templateId, ownFirst ? wizard.procedure : EmptyDialogProc, printer);
            const double b = TimeFirstPaint(wizard.templateId, ownFirst ? EmptyDialogProc : wizard.procedure, printer);
            ready = a > 0 && b > 0;
            withOwn.push_back(ownFirst ? a : b);
            withEmpty.push_back(ownFirst ? b : a);
        }
        if (!ready) {
            printf("P6 wizard %s: the dialog was not painted whole within 10 s\n", wizard.name);
            break;
        }
        const double ratio = Median(withOwn) / Median(withEmpty);
        printf("P6 wizard %s: first complete paint %.2f ms, with an empty procedure %.2f ms (medians of %d)\n",
               wizard.name, Median(withOwn) * 1000, Median(withEmpty) * 1000, kRounds);
        Report({std::string("P6 wizard ") + wizard.name, ratio, "x", "<= 1.5", ratio <= kTarget});
        allMet &= ratio <= kTarget;
    }

    env.Teardown();
    InitModelProfile(own, DLL_PROCESS_ATTACH);
    if (dll) FreeLibrary(dll);
    if (!ready) printf("P6 wizard paint: the test printer, its state or a dialog was not available\n");
    return ready && allMet;
}
