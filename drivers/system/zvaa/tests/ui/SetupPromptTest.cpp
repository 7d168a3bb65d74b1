// The setup and print-time prompts (dialogs 150, 152, 153) and the setup exports that lead into the
// cartridge identification, called in-process.
#include <gtest/gtest.h>

#include <functional>

#include "jobs/MaintenancePrints.h"
#include "resources/ResourceIds.h"
#include "testbed/ImportPatch.h"
#include "ui/PromptDialogs.h"
#include "ui/WizardTestPrinter.h"
#include "zvaaSUI.h"

namespace {

using Action = std::function<void(DialogView &)>;

class SetupPrompts : public WizardTestPrinter {
protected:
    // Runs `open` with one robot action for the dialog it shows; how many dialogs were seen.
    size_t WithDialog(const Action &action, const std::function<void()> &open) {
        DialogRobot robot;
        robot.Next(action);
        open();
        EXPECT_EQ(0u, robot.Unexpected());
        return robot.Seen().size();
    }
};

TEST_F(SetupPrompts, PreInstallAnswersYesNoOrCancel) {
    const struct {
        Action action;
        INT expected;
    } cases[] = {
        {[](DialogView &d) { d.Press(IDOK); }, 1},
        {[](DialogView &d) { d.Check(IDC_SETUP_NO); d.Press(IDOK); }, 2},
        {[](DialogView &d) { d.Check(IDC_SETUP_NO); d.Check(IDC_SETUP_YES); d.Press(IDOK); }, 1},
        {[](DialogView &d) { d.PressEsc(); }, 2},
        {[](DialogView &d) { d.CloseBox(); }, 2},
    };
    for (const auto &c : cases) {
        INT result = 0;
        WithDialog(
            [&](DialogView &d) {
                EXPECT_EQ(m_printer, d.Title());
                EXPECT_TRUE(d.IsTopmost());
                EXPECT_EQ(POINT({100, 100}), Corner(d));
                EXPECT_TRUE(d.IsChecked(IDC_SETUP_YES));
                EXPECT_FALSE(d.IsChecked(IDC_SETUP_NO));
                EXPECT_EQ(FALSE, PreInstallDialogProc(d.Handle(), WM_COMMAND, MAKEWPARAM(IDC_SETUP_NO, BN_CLICKED), 0));
                EXPECT_EQ(FALSE, PreInstallDialogProc(d.Handle(), WM_COMMAND, MAKEWPARAM(IDC_HEADER_SETUP, BN_CLICKED), 0));
                c.action(d);
            },
            [&] { result = PreInstall(m_printer.c_str()); });
        EXPECT_EQ(c.expected, result);
    }
}

TEST_F(SetupPrompts, PaperPromptsFindThePrinterByNameOrHandle) {
    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(m_printer.c_str()), &handle, nullptr));
    const struct {
        INT(WINAPI *popup)(LPCWSTR, HANDLE);
        int header;
    } prompts[] = {{PopupManualDialog, IDC_HEADER_MANUAL_FEED}, {PopupBannerDialog, IDC_HEADER_BANNER}};
    for (const auto &prompt : prompts) {
        const struct {
            LPCWSTR name;
            HANDLE handle;
            Action action;
            INT expected;
        } cases[] = {
            {m_printer.c_str(), nullptr, [](DialogView &d) { d.Press(IDOK); }, 1},
            {nullptr, handle, [](DialogView &d) { d.Press(IDOK); }, 1},
            {L"Ingen sådan skrivare", handle, [](DialogView &d) { d.Press(IDCANCEL); }, 2},
            {m_printer.c_str(), nullptr, [](DialogView &d) { d.PressEsc(); }, 2},
            {m_printer.c_str(), nullptr, [](DialogView &d) { d.CloseBox(); }, 2},
        };
        for (const auto &c : cases) {
            INT result = 0;
            WithDialog(
                [&](DialogView &d) {
                    EXPECT_TRUE(d.Has(prompt.header));
                    EXPECT_EQ(m_printer, d.Title());
                    EXPECT_TRUE(d.IsTopmost());
                    EXPECT_EQ(POINT({100, 100}), Corner(d));
                    // A click on the header band does nothing.
                    DLGPROC procedure = prompt.header == IDC_HEADER_BANNER ? BannerDialogProc : ManualFeedDialogProc;
                    EXPECT_EQ(FALSE, procedure(d.Handle(), WM_COMMAND, MAKEWPARAM(prompt.header, BN_CLICKED), 0));
                    c.action(d);
                },
                [&] { result = prompt.popup(c.name, c.handle); });
            EXPECT_EQ(c.expected, result);
        }
        // No printer: no dialog.
        EXPECT_EQ(0u, WithDialog([](DialogView &) { ADD_FAILURE(); }, [&] {
                      EXPECT_EQ(-1, prompt.popup(L"Ingen sådan skrivare", nullptr));
                      EXPECT_EQ(-1, prompt.popup(nullptr, nullptr));
                  }));
    }
    // The handle stays the caller's.
    EXPECT_TRUE(ClosePrinter(handle));
}

TEST_F(SetupPrompts, PostInstallAndVendorSetupOpenTheCartridgeIdentification) {
    INT result = 0;
    WithDialog(
        [&](DialogView &d) {
            EXPECT_TRUE(d.Has(IDC_HEADER_IDENTIFY));
            EXPECT_EQ(m_printer, d.Title());
            EXPECT_TRUE(d.IsTopmost());
            d.Press(IDCANCEL);
        },
        [&] { result = StartPostInstall(m_printer.c_str()); });
    EXPECT_EQ(1, result);

    const std::string ansiName(m_printer.begin(), m_printer.end());  // the test printers' names are ASCII
    EXPECT_EQ(1u, WithDialog(
                      [&](DialogView &d) {
                          EXPECT_TRUE(d.Has(IDC_HEADER_IDENTIFY));
                          EXPECT_EQ(m_printer, d.Title());
                          d.Press(IDCANCEL);
                      },
                      [&] {
                          std::string line = "\"ignored\" /x \"" + ansiName + "\"";
                          OEMStartVendorSetup(nullptr, nullptr, &line[0], SW_SHOWNORMAL);
                      }));

    // Lines that name no printer that can be opened show nothing.
    std::string lines[] = {"", ansiName, "\"" + ansiName, "\"Ingen sådan skrivare\"",
                           std::string(3000, 'x') + "\"" + ansiName + "\""};
    for (std::string &line : lines)
        EXPECT_EQ(0u, WithDialog([](DialogView &) { ADD_FAILURE(); },
                                 [&] { OEMStartVendorSetup(nullptr, nullptr, &line[0], SW_SHOWNORMAL); }));
    EXPECT_EQ(0u, WithDialog([](DialogView &) { ADD_FAILURE(); },
                             [&] { OEMStartVendorSetup(nullptr, nullptr, nullptr, SW_SHOWNORMAL); }));
    // Nothing was stored by the cancelled dialogs.
    EXPECT_EQ(kUntouchedFlag, State().Get(L"AlignNeed"));
}

// A service's window station, as the spooler's: not visible.
BOOL WINAPI InvisibleStation(HANDLE, int index, PVOID info, DWORD size, LPDWORD needed) {
    if (index != UOI_FLAGS || size < sizeof(USEROBJECTFLAGS)) return FALSE;
    *static_cast<USEROBJECTFLAGS *>(info) = USEROBJECTFLAGS{FALSE, FALSE, 0};
    if (needed) *needed = sizeof(USEROBJECTFLAGS);
    return TRUE;
}

TEST_F(SetupPrompts, WhereNobodyCanSeeThemNoDialogOrBoxOpens) {
    ImportPatch station(GetModuleHandleW(nullptr), "user32.dll", "GetUserObjectInformationW",
                        reinterpret_cast<const void *>(&InvisibleStation));
    ASSERT_NE(0u, station.slots());
    std::string line = "\"" + std::string(m_printer.begin(), m_printer.end()) + "\"";
    DialogRobot robot;
    // Each returns what it returns when its dialog cannot be created; the missing cleaning page asks
    // for no retry.
    EXPECT_EQ(-1, PreInstall(m_printer.c_str()));
    EXPECT_EQ(0, StartPostInstall(m_printer.c_str()));
    EXPECT_EQ(-1, PopupManualDialog(m_printer.c_str(), nullptr));
    EXPECT_EQ(-1, PopupBannerDialog(m_printer.c_str(), nullptr));
    OEMStartVendorSetup(nullptr, nullptr, &line[0], SW_SHOWNORMAL);
    EXPECT_EQ(1, PrintCleaningPage(nullptr, m_printer.c_str()));
    EXPECT_TRUE(robot.Seen().empty());
    EXPECT_EQ(kUntouchedFlag, State().Get(L"AlignNeed"));
}

}  // namespace
