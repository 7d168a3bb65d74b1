#include "DemoScenario.h"

#include <windows.h>
#include <commctrl.h>
#include <strsafe.h>

#include <functional>
#include <vector>

#include "DriverUiHost.h"
#include "PrinterStateView.h"
#include "resources/ResourceIds.h"
#include "testbed/DialogRobot.h"
#include "testbed/PngFile.h"
#include "testbed/PortFile.h"
#include "testbed/StateKeyProbe.h"
#include "testbed/Utf8.h"
#include "testbed/WinePaths.h"

namespace {

std::string HexHead(const std::string &bytes, size_t count) {
    std::string out;
    char cell[4];
    for (size_t i = 0; i < bytes.size() && i < count; ++i) {
        (void)StringCchPrintfA(cell, sizeof cell, "%02X ", static_cast<unsigned char>(bytes[i]));  // fits
        out += cell;
    }
    if (bytes.size() > count) out += "...";
    return out;
}

// Text of a print file for the report: printable characters as they are, others as dots.
std::string Printable(const std::string &bytes) {
    std::string out;
    for (char c : bytes.substr(0, 60)) out += (c >= 32 && c < 127) ? c : '.';
    return out;
}

class Demo {
public:
    Demo(DriverUiHost &host, const DemoOptions &options) : m_host(host), m_options(options) {
        m_outDir = WindowsPathOf(options.outDir);
        if (!m_outDir.empty() && m_outDir.back() != L'\\') m_outDir += L'\\';
        CreateDirectoryW(m_outDir.c_str(), nullptr);
    }

    int Run();

private:
    void Note(const std::string &line) { m_report += line + "\n"; }
    void Fail(const std::string &line) {
        ++m_failures;
        Note("FAILED: " + line);
    }
    void Shot(HWND window, const wchar_t *name) {
        // A modal dialog whose start took a while can be acted on before its loop has shown it.
        if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
        const std::wstring path = m_outDir + name;
        if (SaveWindowPng(window, path))
            m_shots.push_back(path);
        else
            Fail("screenshot " + Utf8(name));
    }
    void Click(HWND page, int id) {
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
    }
    // A dialog step of the chain: a retry box in its place (a print that failed) is answered with
    // Cancel and noted, and the step waits for the next dialog.
    void Expect(const char *what, std::function<void(DialogView &)> act) {
        m_robot->Next([this, what, act](DialogView &d) {
            if (d.IsMessageBox()) {
                Fail(std::string("a message box instead of ") + what + ": " + Utf8(d.MessageText()));
                Expect(what, act);
                d.Press(IDCANCEL);
                return;
            }
            Note(std::string("  ") + what + ": \"" + Utf8(d.Title()) + "\"");
            act(d);
        });
    }
    // The state key before and after, side by side; changed values are marked.
    void NoteJob(const char *what, const std::string &bytes) {
        if (bytes.empty()) {
            Fail(std::string("no job reached the port for the ") + what);
            return;
        }
        Note(std::string("  ") + what + " job: " + std::to_string(bytes.size()) + " bytes");
        Note("    begins " + HexHead(bytes, 17) + " (command packets)");
        if (bytes.size() > 26) Note("    then   \"" + Printable(bytes.substr(17, bytes.size() - 26)) + "\" (the print file)");
        Note("    ends   " + HexHead(bytes.substr(bytes.size() > 9 ? bytes.size() - 9 : 0), 9) + " (closing packet)");
    }
    void DescribeStateChange(const std::vector<std::pair<std::wstring, std::wstring>> &before,
                             const std::vector<std::pair<std::wstring, std::wstring>> &after) {
        Note("State key, before -> after (* changed):");
        if (after.empty()) Note("  (no state key)");
        for (const auto &value : after) {
            std::wstring old = L"(none)";
            for (const auto &earlier : before)
                if (earlier.first == value.first) old = earlier.second;
            char line[200];
            (void)StringCchPrintfA(line, sizeof line, "  %-14s %12s -> %-12s%s", Utf8(value.first).c_str(),
                                   Utf8(old).c_str(), Utf8(value.second).c_str(),
                                   old == value.second ? "" : " *");  // a long name is cut; it is a report
            Note(line);
        }
    }
    void OnSheet(DialogView &sheet);

    DriverUiHost &m_host;
    DemoOptions m_options;
    std::wstring m_outDir;
    DialogRobot *m_robot = nullptr;
    std::string m_report;
    std::vector<std::wstring> m_shots;
    int m_failures = 0;
    bool m_sheetSeen = false;
};

void Demo::OnSheet(DialogView &sheet) {
    m_sheetSeen = true;
    Note("Printer properties: \"" + Utf8(sheet.Title()) + "\"");
    HWND page = PropSheet_GetCurrentPageHwnd(sheet.Handle());
    if (!page) {
        Fail("the sheet has no page");
        sheet.Press(IDCANCEL);
        return;
    }
    WCHAR left[260] = {}, right[260] = {};
    UpdateWindow(page);
    GetDlgItemTextW(page, IDC_LEFT_TYPE, left, ARRAYSIZE(left));
    GetDlgItemTextW(page, IDC_RIGHT_TYPE, right, ARRAYSIZE(right));
    Note("  page before: left \"" + Utf8(left) + "\", right \"" + Utf8(right) + "\"");
    Shot(sheet.Handle(), L"01-underhall.png");

    // Install cartridge -> alignment preparation -> alignment print -> alignment values -> OK.
    Note("Install/change cartridge:");
    Expect("cartridge dialog 113", [this](DialogView &d) {
        d.SelectComboIndex(IDC_LEFT_COMBO, 1);   // colour high-capacity
        d.SelectComboIndex(IDC_RIGHT_COMBO, 2);  // photo
        Note("  chosen: \"" + Utf8(d.Text(IDC_LEFT_COMBO)) + "\" + \"" + Utf8(d.Text(IDC_RIGHT_COMBO)) + "\", both new");
        Shot(d.Handle(), L"02-installera.png");
        Expect("alignment preparation 151", [this](DialogView &prep) {
            Shot(prep.Handle(), L"03-forbered-justering.png");
            Expect("alignment values 104", [this](DialogView &values) {
                // The user reads the printed pattern: A and B come out best at 19 and 8.
                values.Type(IDC_EDIT_A, L"19");
                values.Type(IDC_EDIT_B, L"8");
                Note("  entered: A 19, B 8");
                Shot(values.Handle(), L"04-justering.png");
                values.Press(IDOK);
            });
            prep.Press(IDOK);
        });
        d.Press(IDOK);
    });
    ClearPortFile(m_options.port);  // the spooler writes each job to the port file afresh
    Click(page, IDC_INSTALL_CARTRIDGE);  // returns when the whole chain has closed
    if (m_robot->Pending()) Fail("the chain ended before every dialog had opened");
    NoteJob("alignment page", ReadPortFile(m_options.port));

    GetDlgItemTextW(page, IDC_LEFT_TYPE, left, ARRAYSIZE(left));
    GetDlgItemTextW(page, IDC_RIGHT_TYPE, right, ARRAYSIZE(right));
    Note("  page after: left \"" + Utf8(left) + "\", right \"" + Utf8(right) + "\"");
    Shot(sheet.Handle(), L"05-underhall-efter.png");

    Note("Clean nozzles:");
    ClearPortFile(m_options.port);
    Click(page, IDC_CLEAN_NOZZLES);
    NoteJob("cleaning page", ReadPortFile(m_options.port));

    sheet.Press(IDCANCEL);
}

int Demo::Run() {
    Note("zvaaSUI.dll demo, printer \"" + Utf8(m_options.printer) + "\"");
    Note("State key: HKLM\\" + Utf8(StateKeyPathOf(m_options.printer)));
    // Ink used by earlier prints, as the print-time components record it.
    SetStateCounter(m_options.printer, L"LevelK", 274500000);  // 45 %
    SetStateCounter(m_options.printer, L"LevelC", 440000000);  // 80 %
    SetStateCounter(m_options.printer, L"LevelM", 330000000);  // 60 %
    SetStateCounter(m_options.printer, L"LevelY", 110000000);  // 20 %: the colour picture shows this one
    // Cartridges used up before (not installed now): a new one of their type refills them.
    for (const wchar_t *name : {L"LevelC2", L"LevelM2", L"LevelY2", L"LevelPhotoK", L"LevelPhotoC", L"LevelPhotoM"})
        SetStateCounter(m_options.printer, name, 0);
    const auto before = ReadStateKey(m_options.printer);

    DialogRobot robot;
    m_robot = &robot;
    robot.Next([this](DialogView &sheet) { OnSheet(sheet); });
    const PropertiesRun run = m_host.ShowPrinterProperties(m_options.printer);
    m_robot = nullptr;
    if (!m_sheetSeen) Fail("no property sheet was shown");
    if (robot.Unexpected()) Fail(std::to_string(robot.Unexpected()) + " unexpected dialog(s) were cancelled");

    std::string reasons;
    for (const SheetCall &call : run.calls) reasons += std::to_string(call.reason) + " ";
    Note("DevicePropertySheets reasons, as the platform's sheet library called them: " + reasons +
         "; pages added: " + std::to_string(run.pagesAdded));

    DescribeStateChange(before, ReadStateKey(m_options.printer));
    Note("Job settings the plug-in asked for (SetJobW, level 2):");
    for (const DriverUiHost::JobChange &change : DriverUiHost::JobChanges())
        Note("  job " + std::to_string(change.jobId) + ": priority " + std::to_string(change.priority) +
             ", position " + std::to_string(change.position));
    Note("Screenshots:");
    for (const std::wstring &shot : m_shots) Note("  " + Utf8(shot));
    Note(m_failures ? "Result: " + std::to_string(m_failures) + " step(s) failed" : "Result: every step ran");

    const std::wstring reportPath = m_outDir + L"report.txt";
    HANDLE file = CreateFileW(reportPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, m_report.data(), static_cast<DWORD>(m_report.size()), &written, nullptr);
        CloseHandle(file);
    }
    return m_failures ? 1 : 0;
}

}  // namespace

int RunDemo(DriverUiHost &host, const DemoOptions &options) {
    Demo demo(host, options);
    return demo.Run();
}
