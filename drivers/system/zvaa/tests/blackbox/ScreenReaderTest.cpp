// What a screen reader hears of the built DLL's pictures and header bands, asked as a reader asks
// (AccessibleObjectFromWindow), in process and from another process, and the labels of every field.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include "DriverUiHost.h"
#include "testbed/DialogRobot.h"
#include "testbed/DialogTemplate.h"
#include "testbed/PluginLibrary.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/PrinterStateFixture.h"
#include "testbed/ReaderProbe.h"

namespace {

int g_events[2];  // name, value changes
void CALLBACK CountEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) {
    ++g_events[event == EVENT_OBJECT_NAMECHANGE ? 0 : 1];
}

void ExpectHeard(HWND control, const wchar_t *name, const wchar_t *value, LONG role) {
    const Heard heard = HearControl(control);
    EXPECT_EQ(name, heard.name);
    EXPECT_EQ(value, heard.value) << heard.name;
    EXPECT_EQ(role, heard.role) << heard.name;
}

class ScreenReader : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(!m_printer.empty() && m_host.Ok());
        ASSERT_EQ(S_OK, m_host.NotifyPrinterInstalled(m_printer));
        ASSERT_TRUE(m_state.Install(3, 1, 305000000, 0));  // colour 55 %, black 50 %
    }
    static void Repaint(HWND page) {
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // delivers the events
    }
    PrinterEnvironment m_env;
    std::wstring m_printer = m_env.AddTestPrinter();
    DriverUiHost m_host;
    PrinterStateFixture m_state{m_env, m_printer};
};

TEST_F(ScreenReader, InkPicturesTellTheCartridgeAndItsLevelAsItChanges) {
    DialogRobot robot;
    robot.Next([&](DialogView &sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet.Handle());
        HWND left = GetDlgItem(page, 1054), right = GetDlgItem(page, 1055);
        Repaint(page);
        ExpectHeard(left, L"V\u00E4nster bl\u00E4ckpatron: F\u00C4RG art.nr. ZV30C01", L"55 % bl\u00E4ck kvar",
                    ROLE_SYSTEM_GRAPHIC);
        ExpectHeard(right, L"H\u00F6ger bl\u00E4ckpatron: SVART art.nr. ZV30K01", L"50 % bl\u00E4ck kvar", ROLE_SYSTEM_GRAPHIC);

        HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, CountEvent,
                                             GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        for (const wchar_t *counter : kInkCounterNames) m_state.SetDword(counter, 55000000);
        EXPECT_EQ(L"N\u00E4stan tom, 10 % bl\u00E4ck kvar", HearControl(left).value);  // before any repaint
        Repaint(page);
        EXPECT_EQ(0, g_events[0]);
        EXPECT_EQ(2, g_events[1]);
        m_state.SetBinary(L"CartRight", 0);
        Repaint(page);
        EXPECT_EQ(1, g_events[0]);
        if (hook) UnhookWinEvent(hook);
        ExpectHeard(right, L"H\u00F6ger bl\u00E4ckpatron: Ingen bl\u00E4ckpatron", L"", ROLE_SYSTEM_GRAPHIC);
        m_state.Remove(kInkCounterNames[2]);
        EXPECT_EQ(L"Bl\u00E4ckniv\u00E5n kan inte avl\u00E4sas", HearControl(left).value);

        robot.Next([](DialogView &d) {  // 113, opened from the page
            ExpectHeard(d.Item(1061), L"Installera/Byta bl\u00E4ckpatron", L"", ROLE_SYSTEM_STATICTEXT);
            EXPECT_EQ(L"Utf\u00F6r f\u00F6ljande steg vid byte av bl\u00E4ckpatron.", HearControl(d.Item(1061)).description);
            d.Press(IDCANCEL);
        });
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
        sheet.Press(IDCANCEL);
    });
    m_host.ShowPrinterProperties(m_printer);
    EXPECT_EQ(0u, robot.Pending() + robot.Unexpected());
}

TEST_F(ScreenReader, WizardHeadersAndPicturesTellWhatTheyShow) {
    m_env.WriteDriverFile(L"zvaaalg4.out", "page");
    auto header = [](int id, const wchar_t *title, int press) {
        return [=](DialogView &d) {
            ExpectHeard(d.Item(id), title, L"", ROLE_SYSTEM_STATICTEXT);
            EXPECT_FALSE(HearControl(d.Item(id)).description.empty()) << id;
            for (int g = 0; id == 1062 && g < 6; ++g)  // 104's example pictures, by their group
                ExpectHeard(d.Item(1035 + g), (L"Exempel " + std::wstring(1, L'A' + g)).c_str(), L"", ROLE_SYSTEM_GRAPHIC);
            if (id == 1066) ExpectHeard(d.Item(1075), L"Bild av justeringssidan i skrivaren", L"", ROLE_SYSTEM_GRAPHIC);
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
    using Export = INT(WINAPI *)(LPCWSTR, HANDLE);  // the one-argument exports ignore the second
    for (const char *name : {"StartPostInstall", "PreInstall", "PopupManualDialog", "PopupBannerDialog"})
        reinterpret_cast<Export>(reinterpret_cast<void *>(m_host.Export(name)))(m_printer.c_str(), nullptr);
    EXPECT_EQ(0u, robot.Pending() + robot.Unexpected());
}

TEST_F(ScreenReader, AReaderInAnotherProcessHearsTheHeader) {
    WCHAR dll[MAX_PATH];
    PathBesideProgram(L"zvaaSUI.dll", dll, MAX_PATH);
    std::wstring command = L"rundll32.exe " + std::wstring(dll) + L",OEMStartVendorSetup \"" + m_printer + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    HWND dialog = nullptr;  // 154, titled with the printer name
    for (int i = 0; i < 200 && !(dialog = FindWindowW(L"#32770", m_printer.c_str())); ++i) Sleep(50);
    // A reader has an apartment of its own, into which the object comes from the dialog's process.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ExpectHeard(GetDlgItem(dialog, 1074), L"Identifiering av Bl\u00E4ckpatroner", L"", ROLE_SYSTEM_STATICTEXT);
    if (SUCCEEDED(com)) CoUninitialize();
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000));
    TerminateProcess(process.hProcess, 1);  // does nothing once it has ended
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// The platform names a list or edit by the nearest text static before it, unless a tab stop comes first.
TEST(ScreenReaderLabels, EveryFieldIsNamedByTheTextBeforeIt) {
    PluginLibrary dll;
    int fields = 0;
    for (UINT id : {104u, 106u, 113u, 150u, 151u, 152u, 153u, 154u}) {
        DialogTemplateInfo info;
        ASSERT_TRUE(ReadDialogTemplate(dll.module(), id, &info));
        std::wstring label;
        for (const TemplateItem &item : info.items) {
            if (_wcsicmp(item.className.c_str(), L"Edit") == 0 || _wcsicmp(item.className.c_str(), L"ComboBox") == 0) {
                ++fields;
                EXPECT_NE(L"", label) << "dialog " << id << ", field " << item.id;
            }
            const DWORD type = item.style & SS_TYPEMASK;
            if (_wcsicmp(item.className.c_str(), L"Static") == 0 && (type <= SS_RIGHT || type == SS_LEFTNOWORDWRAP))
                label = item.text;
            else if (item.style & WS_TABSTOP)
                label.clear();
        }
    }
    EXPECT_EQ(10, fields);  // two lists each in 113 and 154, six values in 104
}

}  // namespace
