// The wizard chain as the printer software meets it: zvaaSUI.dll loaded from disk, its exports
// called, real dialogs driven by the robot, Wine's registry and spooler underneath.
#include <gtest/gtest.h>

#include <string>

#include "testbed/DialogRobot.h"
#include "testbed/ImportPatch.h"
#include "testbed/PluginLibrary.h"
#include "testbed/PortFile.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/PrinterStateFixture.h"

namespace {

// Control ids of the dialogs, as the templates carry them.
constexpr int kLeftCombo = 1036, kRightCombo = 1039;
constexpr int kIdentifyHeader = 1074, kAlignPrepHeader = 1066, kAlignHeader = 1062;
const int kEdits[] = {1008, 1014, 1016, 1018, 1020, 1022};

// Wine's spooler cannot take SetJobW at level 2 (it crashes); the job's raise and placement are
// recorded here instead.
int g_setJobCalls = 0;
BOOL WINAPI RecordSetJob(HANDLE, DWORD, DWORD, LPBYTE, DWORD) {
    ++g_setJobCalls;
    return TRUE;
}

// The alignment page of black + colour as the driver installs it: opaque bytes, here more than one
// transfer buffer long and with every byte value in it.
std::string AlignmentPage() {
    std::string page = "ZV-ALIGN-4\r\n";
    for (int i = 0; i < 5000; ++i) page += static_cast<char>((i * 7 + 3) & 0xFF);
    return page;
}

TEST(WizardChain, IdentificationThroughAlignmentStoresThePairCountersValuesAndPrintsThePage) {
    PrinterEnvironment environment;
    const std::wstring printer = environment.AddTestPrinter();
    ASSERT_FALSE(printer.empty());
    PrinterStateFixture state(environment, printer);
    ASSERT_TRUE(state.Install(3, 1, 1000, 0));  // colour + black, as an installation leaves it
    const std::string page = AlignmentPage();
    environment.WriteDriverFile(L"zvaaalg4.out", page);

    PluginLibrary dll;
    ASSERT_NE(nullptr, dll.module());
    ImportPatch setJob(dll.module(), "winspool.drv", "SetJobW", reinterpret_cast<const void *>(&RecordSetJob));
    auto startPostInstall = dll.get<INT(WINAPI *)(LPCWSTR)>("StartPostInstall");
    ASSERT_NE(nullptr, startPostInstall);

    HWND prepDialog = nullptr;
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        EXPECT_TRUE(d.Has(kIdentifyHeader));
        EXPECT_EQ(printer, d.Title());
        d.SelectComboIndex(kLeftCombo, 1);   // colour high-capacity
        d.SelectComboIndex(kRightCombo, 1);  // black high-capacity
        d.Press(IDOK);
    });
    robot.Next([&](DialogView &d) {
        EXPECT_TRUE(d.Has(kAlignPrepHeader));
        EXPECT_EQ(1, state.Get(L"AlignNeed"));
        prepDialog = d.Handle();
        d.Press(IDOK);
    });
    robot.Next([&](DialogView &d) {
        // The page has gone to the port before the dialog that asks about it opens.
        const std::string sent = environment.ReadPortBytes(printer);
        EXPECT_TRUE(sent == FramedJob(page)) << sent.size() << " bytes at the port";
        EXPECT_TRUE(d.Has(kAlignHeader));
        EXPECT_EQ(printer, d.Title());
        EXPECT_EQ(prepDialog, d.Owner());
        EXPECT_EQ(1, state.Get(L"AlignNeed"));
        const wchar_t *shown[] = {L"17", L"6", L"17", L"17", L"17", L"17"};
        const wchar_t *typed[] = {L"12", L"3", L"25", L"0", L"30", L"8"};
        for (int g = 0; g < 6; ++g) {
            EXPECT_TRUE(d.IsVisible(kEdits[g]));
            EXPECT_EQ(shown[g], d.Text(kEdits[g]));
            d.Type(kEdits[g], typed[g]);
        }
        d.Press(IDOK);
    });
    EXPECT_EQ(1, startPostInstall(printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    EXPECT_EQ(3u, robot.Seen().size());  // no retry prompt

    EXPECT_EQ(5, state.Get(L"CartLeft"));
    EXPECT_EQ(4, state.Get(L"CartRight"));
    // New cartridges: the high-capacity counters are full, the others as they were.
    const LONG expectedCounters[11] = {1000, 1100000000, 1000, 915000000, 1000, 915000000,
                                       1000, 915000000, 1000, 1000, 1000};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(expectedCounters[i], state.Get(kInkCounterNames[i])) << kInkCounterNames[i];
    const LONG expectedValues[6] = {12, 3, 25, 0, 30, 8};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(expectedValues[i], state.Get((L"AlignCMYK_" + std::to_wstring(i)).c_str()));
    EXPECT_EQ(0, state.Get(L"AlignNeed"));
    EXPECT_TRUE(environment.ReadPortBytes(printer) == FramedJob(page));  // one job, nothing more
    EXPECT_EQ(2, g_setJobCalls);  // raised, then placed first
}

// Finds the visible top-level dialog that process `pid` shows; null when it has none yet.
struct DialogSearch {
    DWORD pid;
    HWND found;
};
BOOL CALLBACK FindProcessDialog(HWND window, LPARAM param) {
    auto *search = reinterpret_cast<DialogSearch *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    WCHAR className[32] = L"";
    GetClassNameW(window, className, ARRAYSIZE(className));
    if (pid == search->pid && IsWindowVisible(window) && std::wstring(className) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST(VendorSetup, RundllOpensTheIdentificationForTheQuotedPrinter) {
    PrinterEnvironment environment;
    const std::wstring printer = environment.AddTestPrinter();
    ASSERT_FALSE(printer.empty());
    PrinterStateFixture state(environment, printer);
    ASSERT_TRUE(state.Install(3, 1, 1000, 1));

    WCHAR dll[MAX_PATH];
    PathBesideProgram(L"zvaaSUI.dll", dll, MAX_PATH);
    std::wstring command = L"rundll32.exe " + std::wstring(dll) + L",OEMStartVendorSetup \"" + printer + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));

    DialogSearch search = {process.dwProcessId, nullptr};
    for (int i = 0; i < 200 && !search.found; ++i) {
        EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(50);
    }
    ASSERT_NE(nullptr, search.found) << "no dialog from rundll32";
    WCHAR title[260] = L"";
    GetWindowTextW(search.found, title, ARRAYSIZE(title));
    EXPECT_EQ(printer, title);
    EXPECT_NE(nullptr, GetDlgItem(search.found, kIdentifyHeader));
    EXPECT_TRUE(GetWindowLongW(search.found, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r = {};
    GetWindowRect(search.found, &r);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(100, r.top);

    PostMessageW(search.found, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000));
    TerminateProcess(process.hProcess, 1);  // does nothing once it has ended
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(1, state.Get(L"AlignNeed"));  // cancelled: nothing stored
}

}  // namespace
