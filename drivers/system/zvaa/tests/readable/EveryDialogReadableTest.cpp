// Every dialog of the built zvaaSUI.dll as a user meets it, opened by the library's own dialog
// procedures at the screen scale of the prefix the program runs in (cmake/run-at-dpi.sh): every text
// fits its control with the control's own font, and every header line stays inside its band, left of
// the printer picture, in a colour that stands out from the band's in the standard scheme and in the
// high-contrast black and white ones. With ZVAA_PICTURES_DIR set, it also saves what it opens as PNG
// files for a person (make pictures).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <stdlib.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "DriverUiHost.h"
#include "resources/ResourceIds.h"
#include "testbed/ColourScheme.h"
#include "testbed/DialogRobot.h"
#include "testbed/HeaderRecorder.h"
#include "testbed/ImportPatch.h"
#include "testbed/PngFile.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/PrinterStateFixture.h"
#include "testbed/ReaderProbe.h"
#include "testbed/TextFit.h"
#include "testbed/Utf8.h"

namespace {

constexpr LONG kBlack = 1, kPhoto = 2, kColour = 3, kBlackHigh = 4, kColourHigh = 5;

const std::map<int, int> kHeaderOf = {
    {IDD_ALIGNMENT, IDC_HEADER_ALIGN},           {IDD_CARTRIDGE_INSTALL, IDC_HEADER_INSTALL},
    {IDD_SETUP_PROMPT, IDC_HEADER_SETUP},        {IDD_ALIGN_PREP, IDC_HEADER_ALIGN_PREP},
    {IDD_MANUAL_FEED, IDC_HEADER_MANUAL_FEED},   {IDD_BANNER, IDC_HEADER_BANNER},
    {IDD_CARTRIDGE_IDENTIFY, IDC_HEADER_IDENTIFY},
};

// The keys of the demo's driver INI after its OEMDriverName: cartridge names per language and the
// supplies address, as the demo printer has them.
std::wstring DemoIniKeys() {
    std::wstring path = L"Z:" ZVAA_SOURCE_DIR L"/tools/package/zvaa.ini";
    for (wchar_t &c : path)
        if (c == L'/') c = L'\\';
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::wstring();
    char bytes[8192];
    DWORD got = 0;
    ReadFile(file, bytes, sizeof bytes - 1, &got, nullptr);
    CloseHandle(file);
    WCHAR text[8192];
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(got), text, ARRAYSIZE(text));
    std::wstring keys, all(text, length > 0 ? static_cast<size_t>(length) : 0);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find(L'\n', start);
        if (end == std::wstring::npos) end = all.size();
        std::wstring line = all.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty() && line[0] != L';' && line != L"[OEMFiles]" && line.rfind(L"OEMDriverName=", 0) != 0 &&
            line.rfind(L"PLC=", 0) != 0)
            keys += line + L"\r\n";
        start = end + 1;
    }
    return keys;
}


class EveryDialog : public testing::Test {
protected:
    using Visit = std::function<void(int templateId, DialogView &)>;

    void SetUp() override {
        HDC screen = GetDC(nullptr);
        m_dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        const char *expected = getenv("ZVAA_EXPECT_DPI");
        if (expected && *expected) {
            ASSERT_EQ(atoi(expected), m_dpi) << "the prefix is not at the scale asked for";
        }

        m_printer = m_env.AddTestPrinter();
        ASSERT_FALSE(m_printer.empty());
        ASSERT_TRUE(m_host.Ok()) << Utf8(m_host.Error());
        ASSERT_EQ(S_OK, m_host.NotifyPrinterInstalled(m_printer));
        m_state.reset(new PrinterStateFixture(m_env, m_printer));
        ASSERT_TRUE(m_state->Install(kColour, kBlack, 1000, 0));
        const std::wstring keys = DemoIniKeys();
        ASSERT_NE(std::wstring::npos, keys.find(L"CART_BLK2=")) << "the demo's driver INI was not read";
        m_env.WriteOwnDriverIni(keys);
        m_env.WriteDriverFile(L"zvaaalg4.out", "page");
    }

    // Opens every dialog in turn through the library's exports and the printer's properties, and
    // lets `visit` look at each once it is on the screen: 154, 151 and 104 of the setup chain, 150,
    // 152, 153, then page 106 on its sheet with each left and right cartridge name, and 113 from it.
    void OpenEach(const Visit &visit) {
        using Export = INT(WINAPI *)(LPCWSTR);
        using PaperExport = INT(WINAPI *)(LPCWSTR, HANDLE);
        auto startPostInstall = reinterpret_cast<Export>(reinterpret_cast<void *>(m_host.Export("StartPostInstall")));
        auto preInstall = reinterpret_cast<Export>(reinterpret_cast<void *>(m_host.Export("PreInstall")));
        auto manual = reinterpret_cast<PaperExport>(reinterpret_cast<void *>(m_host.Export("PopupManualDialog")));
        auto banner = reinterpret_cast<PaperExport>(reinterpret_cast<void *>(m_host.Export("PopupBannerDialog")));
        ASSERT_TRUE(startPostInstall && preInstall && manual && banner);
        ASSERT_TRUE(m_state->Install(kColour, kBlack, 1000, 0));

        auto then = [&](int id, int press) {
            return [&visit, id, press](DialogView &d) {
                visit(id, d);
                d.Press(press);
            };
        };
        {
            DialogRobot robot;
            robot.Next(then(IDD_CARTRIDGE_IDENTIFY, IDOK));
            robot.Next(then(IDD_ALIGN_PREP, IDOK));
            robot.Next(then(IDD_ALIGNMENT, IDCANCEL));
            robot.Next(then(IDD_SETUP_PROMPT, IDCANCEL));
            robot.Next(then(IDD_MANUAL_FEED, IDOK));
            robot.Next(then(IDD_BANNER, IDOK));
            startPostInstall(m_printer.c_str());
            preInstall(m_printer.c_str());
            manual(m_printer.c_str(), nullptr);
            banner(m_printer.c_str(), nullptr);
            EXPECT_EQ(0u, robot.Pending());
            EXPECT_EQ(0u, robot.Unexpected());
        }
        DialogRobot robot;
        robot.Next([&](DialogView &sheet) {
            HWND page = PropSheet_GetCurrentPageHwnd(sheet.Handle());
            const LONG pairs[][2] = {{kColour, kBlack}, {kColourHigh, kBlackHigh}, {kColour, kPhoto}};
            for (const auto &pair : pairs) {
                m_state->SetBinary(L"CartLeft", pair[0]);
                m_state->SetBinary(L"CartRight", pair[1]);
                // The captions are set while the pictures paint; then they paint themselves.
                RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                DialogView view(page);
                visit(IDD_MAINTENANCE_PAGE, view);
            }
            robot.Next(then(IDD_CARTRIDGE_INSTALL, IDCANCEL));
            SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_INSTALL_CARTRIDGE, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_INSTALL_CARTRIDGE)));
            sheet.Press(IDCANCEL);
        });
        m_host.ShowPrinterProperties(m_printer);
        EXPECT_EQ(0u, robot.Pending());
        EXPECT_EQ(0u, robot.Unexpected());
    }

    // Header faults of one dialog, from its paint and from its pixels: every line must show ink that
    // stands out from the band's ground.
    std::string HeaderFaults(HeaderRecorder &recorder, int templateId, DialogView &d) {
        auto header = kHeaderOf.find(templateId);
        if (header == kHeaderOf.end()) return std::string();
        HWND button = d.Item(header->second);
        const HeaderPaint paint = recorder.Repaint(button);
        std::string faults = HeaderRecorder::Faults(paint);
        HDC dc = GetDC(button);
        const std::vector<uint8_t> rgb = ReadRgbPixels(dc, 0, 0, paint.band.right, paint.band.bottom);
        ReleaseDC(button, dc);
        auto luma = [](int r, int g, int b) { return (r * 299 + g * 587 + b * 114) / 1000; };
        for (const HeaderTextLine &line : paint.lines) {
            if (line.text.empty()) continue;
            const int ground = luma(GetRValue(line.ground), GetGValue(line.ground), GetBValue(line.ground));
            int ink = 0;
            for (LONG y = std::max(0L, line.cell.top); y < std::min(paint.band.bottom, line.cell.bottom); ++y)
                for (LONG x = std::max(0L, line.cell.left); x < std::min(paint.band.right, line.cell.right); ++x) {
                    const size_t p = (static_cast<size_t>(y) * paint.band.right + x) * 3;
                    if (abs(luma(rgb[p], rgb[p + 1], rgb[p + 2]) - ground) >= 128) ++ink;
                }
            if (ink < 10) faults += "  \"" + Utf8(line.text) + "\" shows no ink against the band\n";
        }
        return faults;
    }

    int m_dpi = 0;
    PrinterEnvironment m_env;
    DriverUiHost m_host;
    std::wstring m_printer;
    std::unique_ptr<PrinterStateFixture> m_state;
};

TEST_F(EveryDialog, TextsFitTheirControlsAndHeaderLinesStayInTheBand) {
    HeaderRecorder recorder(m_host.Module());
    ASSERT_TRUE(recorder.Ok());
    std::map<int, std::string> misfits, headers;
    std::set<std::wstring> captions;
    int seen = 0;
    OpenEach([&](int id, DialogView &d) {
        ++seen;
        if (id == IDD_MAINTENANCE_PAGE) captions.insert({d.Text(IDC_LEFT_TYPE), d.Text(IDC_RIGHT_TYPE)});
        misfits[id] += DescribeMisfits(FindTextMisfits(d.Handle()));
        headers[id] += HeaderFaults(recorder, id, d);
    });
    EXPECT_EQ(10, seen) << "dialogs and page views visited";
    // Every cartridge name of the demo's driver INI was on the page when it was measured.
    EXPECT_EQ((std::set<std::wstring>{L"F\u00C4RG art.nr. ZV30C01", L"F\u00C4RG H\u00F6gkapacitet art.nr. ZV30C02",
                                      L"SVART art.nr. ZV30K01", L"SVART H\u00F6gkapacitet art.nr. ZV30K02",
                                      L"FOTO art.nr. ZV30P01"}),
              captions);
    for (const auto &m : misfits) EXPECT_EQ("", m.second) << "dialog " << m.first << " at " << m_dpi << " DPI";
    for (const auto &h : headers) EXPECT_EQ("", h.second) << "header of " << h.first << " at " << m_dpi << " DPI";
}

// The dialog base units Windows reports at the prefix's scale ((8, 16) at 96 DPI), given to the DLL in
// place of Wine's own through its imports.
LONG g_windowsUnits = 0;
LONG WINAPI WindowsDialogBaseUnits() { return g_windowsUnits; }

TEST_F(EveryDialog, HeaderLinesStayInTheBandWithWindowsBaseUnits) {
    g_windowsUnits = MAKELONG(MulDiv(8, m_dpi, 96), MulDiv(16, m_dpi, 96));
    ImportPatch units(m_host.Module(), "user32.dll", "GetDialogBaseUnits",
                      reinterpret_cast<const void *>(&WindowsDialogBaseUnits));
    ASSERT_NE(0u, units.slots());
    HeaderRecorder recorder(m_host.Module());
    ASSERT_TRUE(recorder.Ok());
    int headersSeen = 0;
    OpenEach([&](int id, DialogView &d) {
        if (kHeaderOf.count(id)) ++headersSeen;
        EXPECT_EQ("", HeaderFaults(recorder, id, d)) << "header of " << id << " at " << m_dpi << " DPI";
    });
    EXPECT_EQ(7, headersSeen);
}

TEST_F(EveryDialog, HeaderTextStandsOutInHighContrastBlackAndWhite) {
    HeaderRecorder recorder(m_host.Module());
    ASSERT_TRUE(recorder.Ok());
    for (HighContrast scheme : {HighContrast::kBlack, HighContrast::kWhite}) {
        ColourScheme colours(scheme);
        ASSERT_TRUE(colours.Ok());
        const char *name = scheme == HighContrast::kBlack ? "black" : "white";
        int headersSeen = 0;
        OpenEach([&](int id, DialogView &d) {
            if (kHeaderOf.count(id)) ++headersSeen;
            EXPECT_EQ("", HeaderFaults(recorder, id, d)) << "header of " << id << " in high contrast " << name << " at "
                                                         << m_dpi << " DPI";
        });
        EXPECT_EQ(7, headersSeen);
    }
}

// The file name of a dialog's picture; the page's carries the pair it shows.
std::wstring PictureName(int templateId, int pageView) {
    switch (templateId) {
    case IDD_ALIGNMENT: return L"dialog104-alignment";
    case IDD_CARTRIDGE_INSTALL: return L"dialog113-install-cartridge";
    case IDD_SETUP_PROMPT: return L"dialog150-setup-prompt";
    case IDD_ALIGN_PREP: return L"dialog151-alignment-preparation";
    case IDD_MANUAL_FEED: return L"dialog152-manual-feed";
    case IDD_BANNER: return L"dialog153-banner";
    case IDD_CARTRIDGE_IDENTIFY: return L"dialog154-cartridge-identification";
    default: break;
    }
    const wchar_t *pairs[] = {L"colour-black", L"colour-high-black-high", L"colour-photo"};
    return std::wstring(L"page106-maintenance-") + pairs[pageView % 3];
}

// What a screen reader hears of each visible control of the dialog (id, role, name, value,
// description), as an HTML table for the contact sheet.
bool SaveReaderTable(HWND dialog, const std::wstring &path) {
    std::wstring html = L"<table>";
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        // Lines and frames (statics without text or id) say nothing.
        if (!IsWindowVisible(child) || (GetWindowTextLengthW(child) == 0 && static_cast<WORD>(id) == 0xFFFF)) continue;
        const Heard heard = HearControl(child);
        html += L"<tr><td>" + std::to_wstring(id);
        for (const std::wstring &cell : {heard.roleText, heard.name, heard.value, heard.description}) {
            html += L"<td>";
            for (wchar_t c : cell) html += c == L'&' ? L"&amp;" : c == L'<' ? L"&lt;" : std::wstring(1, c);
        }
        html += L"\n";
    }
    const std::string bytes = Utf8(html + L"</table>\n");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE) return false;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

TEST_F(EveryDialog, PicturesForAPerson) {
    const wchar_t *folder = _wgetenv(L"ZVAA_PICTURES_DIR");
    if (!folder || !*folder) GTEST_SKIP() << "ZVAA_PICTURES_DIR is not set";
    std::wstring dir = folder;
    if (dir[0] == L'/') dir = L"Z:" + dir;
    for (wchar_t &c : dir)
        if (c == L'/') c = L'\\';
    if (dir.back() != L'\\') dir += L'\\';
    CreateDirectoryW(dir.c_str(), nullptr);

    for (bool highContrast : {false, true}) {
        std::unique_ptr<ColourScheme> colours;
        if (highContrast) colours.reset(new ColourScheme(HighContrast::kBlack));
        int pageView = 0;
        OpenEach([&](int id, DialogView &d) {
            // The page is shown in its sheet, as the printer's properties show it.
            HWND window = id == IDD_MAINTENANCE_PAGE ? GetAncestor(d.Handle(), GA_ROOT) : d.Handle();
            // At the screen's corner, so that a large scale is not cut off at the screen's edge.
            SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            const std::wstring name = PictureName(id, id == IDD_MAINTENANCE_PAGE ? pageView++ : 0);
            EXPECT_TRUE(SaveWindowPng(window, dir + name + (highContrast ? L"-high-contrast.png" : L".png")))
                << Utf8(name);
            if (!highContrast) {
                EXPECT_TRUE(SaveReaderTable(d.Handle(), dir + name + L".reader.html"));
            }
        });
    }
}

}  // namespace
