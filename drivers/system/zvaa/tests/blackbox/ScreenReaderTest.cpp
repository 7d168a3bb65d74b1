// What a screen reader hears of the built DLL's pictures and header bands, asked as a reader asks
// (AccessibleObjectFromWindow), in process and from another process, and the labels of every field.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <string>

#include "DriverUiHost.h"
#include "testbed/DialogRobot.h"
#include "testbed/PluginLibrary.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/PrinterStateFixture.h"
#include "testbed/ReaderProbe.h"

namespace {

constexpr LONG kBlack = 1, kColour = 3;
constexpr int kLeftInk = 1054, kRightInk = 1055, kInstall = 1001;

int g_nameEvents = 0, g_valueEvents = 0;
void CALLBACK CountEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) {
    (event == EVENT_OBJECT_NAMECHANGE ? g_nameEvents : g_valueEvents)++;
}

class ScreenReader : public testing::Test {
protected:
    void SetUp() override {
        m_printer = m_env.AddTestPrinter();
        ASSERT_FALSE(m_printer.empty());
        ASSERT_TRUE(m_host.Ok());
        ASSERT_EQ(S_OK, m_host.NotifyPrinterInstalled(m_printer));
        m_state.reset(new PrinterStateFixture(m_env, m_printer));
        ASSERT_TRUE(m_state->Install(kColour, kBlack, 305000000, 0));
    }
    void Levels(DWORD level) {
        for (const wchar_t *counter : kInkCounterNames) m_state->SetDword(counter, level);
    }
    static void Repaint(HWND page) {
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // delivers the events
    }

    PrinterEnvironment m_env;
    DriverUiHost m_host;
    std::wstring m_printer;
    std::unique_ptr<PrinterStateFixture> m_state;
};

TEST_F(ScreenReader, InkPicturesTellTheCartridgeAndItsLevelAsItChanges) {
    DialogRobot robot;
    robot.Next([&](DialogView &sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet.Handle());
        Repaint(page);
        Heard left = HearControl(GetDlgItem(page, kLeftInk)), right = HearControl(GetDlgItem(page, kRightInk));
        EXPECT_EQ(L"V\u00E4nster bl\u00E4ckpatron: F\u00C4RG art.nr. ZV30C01", left.name);
        EXPECT_EQ(L"55 % bl\u00E4ck kvar", left.value);
        EXPECT_EQ(ROLE_SYSTEM_GRAPHIC, left.role);
        EXPECT_EQ(L"H\u00F6ger bl\u00E4ckpatron: SVART art.nr. ZV30K01", right.name);
        EXPECT_EQ(L"50 % bl\u00E4ck kvar", right.value);
        EXPECT_EQ(m_printer, DialogView(page).Text(kLeftInk));  // the page still keeps the name there

        HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, CountEvent,
                                             GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        Levels(55000000);  // read anew: the value follows the counters at once, the repaint tells it
        EXPECT_EQ(L"N\u00E4stan tom, 10 % bl\u00E4ck kvar", HearControl(GetDlgItem(page, kLeftInk)).value);
        Repaint(page);
        EXPECT_EQ(2, g_valueEvents);
        EXPECT_EQ(0, g_nameEvents);
        m_state->SetBinary(L"CartRight", 0);
        Repaint(page);
        EXPECT_EQ(1, g_nameEvents);
        if (hook) UnhookWinEvent(hook);
        right = HearControl(GetDlgItem(page, kRightInk));
        EXPECT_EQ(L"H\u00F6ger bl\u00E4ckpatron: Ingen bl\u00E4ckpatron", right.name);
        EXPECT_EQ(L"", right.value);
        m_state->Remove(kInkCounterNames[2]);
        EXPECT_EQ(L"Bl\u00E4ckniv\u00E5n kan inte avl\u00E4sas", HearControl(GetDlgItem(page, kLeftInk)).value);

        robot.Next([](DialogView &d) {  // 113, opened from the page
            const Heard header = HearControl(d.Item(1061));
            EXPECT_EQ(L"Installera/Byta bl\u00E4ckpatron", header.name);
            EXPECT_EQ(L"Utf\u00F6r f\u00F6ljande steg vid byte av bl\u00E4ckpatron.", header.description);
            d.Press(IDCANCEL);
        });
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(kInstall, BN_CLICKED), 0);
        sheet.Press(IDCANCEL);
    });
    m_host.ShowPrinterProperties(m_printer);
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
}

TEST_F(ScreenReader, WizardHeadersAndPicturesTellWhatTheyShow) {
    using Export = INT(WINAPI *)(LPCWSTR);
    using PaperExport = INT(WINAPI *)(LPCWSTR, HANDLE);
    m_env.WriteDriverFile(L"zvaaalg4.out", "page");
    auto header = [](int id, const wchar_t *title, int press) {
        return [=](DialogView &d) {
            const Heard heard = HearControl(d.Item(id));
            EXPECT_EQ(title, heard.name) << id;
            EXPECT_FALSE(heard.description.empty()) << id;
            EXPECT_EQ(ROLE_SYSTEM_STATICTEXT, heard.role) << id;
            if (id == 1062) {  // 104's example pictures, by their group
                for (int g = 0; g < 6; ++g) {
                    const Heard example = HearControl(d.Item(1035 + g));
                    EXPECT_EQ(std::wstring(L"Exempel ") + static_cast<wchar_t>(L'A' + g), example.name);
                    EXPECT_EQ(ROLE_SYSTEM_GRAPHIC, example.role);
                }
            }
            if (id == 1066) {
                EXPECT_EQ(ROLE_SYSTEM_GRAPHIC, HearControl(d.Item(1075)).role);  // not "Button1"
            }
            d.Press(press);
        };
    };
    DialogRobot robot;
    robot.Next(header(1074, L"Identifiering av Bl\u00E4ckpatroner", IDOK));
    robot.Next(header(1066, L"F\u00F6rbered justering", IDOK));
    robot.Next(header(1062, L"Justering av bl\u00E4ckpatron", IDCANCEL));
    robot.Next(header(1064, L"Installation av bl\u00E4ckpatroner", IDCANCEL));
    robot.Next(header(1067, L"Manuell pappersmatning", IDOK));
    robot.Next(header(1068, L"Fyll p\u00E5 med Banderollpapper", IDOK));
    reinterpret_cast<Export>(reinterpret_cast<void *>(m_host.Export("StartPostInstall")))(m_printer.c_str());
    reinterpret_cast<Export>(reinterpret_cast<void *>(m_host.Export("PreInstall")))(m_printer.c_str());
    reinterpret_cast<PaperExport>(reinterpret_cast<void *>(m_host.Export("PopupManualDialog")))(m_printer.c_str(), nullptr);
    reinterpret_cast<PaperExport>(reinterpret_cast<void *>(m_host.Export("PopupBannerDialog")))(m_printer.c_str(), nullptr);
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
}

BOOL CALLBACK FindDialogOf(HWND window, LPARAM param) {
    auto *found = reinterpret_cast<std::pair<DWORD, HWND> *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != found->first || !IsWindowVisible(window) || !GetDlgItem(window, 1074)) return TRUE;
    found->second = window;
    return FALSE;
}

TEST_F(ScreenReader, AReaderInAnotherProcessHearsTheHeader) {
    WCHAR dll[MAX_PATH];
    PathBesideProgram(L"zvaaSUI.dll", dll, MAX_PATH);
    std::wstring command = L"rundll32.exe " + std::wstring(dll) + L",OEMStartVendorSetup \"" + m_printer + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    std::pair<DWORD, HWND> found(process.dwProcessId, nullptr);
    for (int i = 0; i < 200 && !found.second; ++i) {
        EnumWindows(FindDialogOf, reinterpret_cast<LPARAM>(&found));
        if (!found.second) Sleep(50);
    }
    if (found.second) {
        // A reader has its own apartment, into which the object is brought from the dialog's process.
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const Heard heard = HearControl(GetDlgItem(found.second, 1074));
        EXPECT_EQ(L"Identifiering av Bl\u00E4ckpatroner", heard.name);
        EXPECT_EQ(L"Kontrollera bl\u00E4ckpatronerna i din skrivare.", heard.description);
        EXPECT_EQ(ROLE_SYSTEM_STATICTEXT, heard.role);
        if (SUCCEEDED(com)) CoUninitialize();
        PostMessageW(found.second, WM_COMMAND, IDCANCEL, 0);
    }
    EXPECT_NE(nullptr, found.second) << "no dialog from rundll32";
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000));
    TerminateProcess(process.hProcess, 1);  // does nothing once it has ended
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST(ScreenReaderLabels, EveryFieldIsNamedByTheTextBeforeIt) {
    PluginLibrary dll;
    int fields = 0;
    for (UINT id : {104u, 106u, 113u, 150u, 151u, 152u, 153u, 154u}) {
        DialogTemplateInfo info;
        ASSERT_TRUE(ReadDialogTemplate(dll.module(), id, &info));
        for (size_t i = 0; i < info.items.size(); ++i) {
            if (!IsField(info.items[i])) continue;
            ++fields;
            EXPECT_FALSE(FieldLabel(info, i).empty()) << "dialog " << id << ", field " << info.items[i].id;
        }
    }
    EXPECT_EQ(10, fields);  // two lists each in 113 and 154, six values in 104
}

}  // namespace
