// Screenshots of every wizard dialog in a real state of its chain (lists filled, groups shown), for a
// person to review. Runs only when ZVAA_PICTURES_DIR names a folder (Windows or Unix path); the
// picture command sets it.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "resources/ResourceIds.h"
#include "testbed/ImportPatch.h"
#include "testbed/PngFile.h"
#include "ui/AlignDialog.h"
#include "ui/CartridgeDialog.h"
#include "ui/WizardTestPrinter.h"
#include "zvaaSUI.h"

namespace {

// Wine's spooler cannot take SetJobW at level 2; the alignment print's job settings go nowhere.
BOOL WINAPI IgnoreSetJob(HANDLE, DWORD, DWORD, LPBYTE, DWORD) { return TRUE; }

bool HasPixels(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    HDC dc = GetWindowDC(window);
    const std::vector<uint8_t> rgb = ReadRgbPixels(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    ReleaseDC(window, dc);
    for (uint8_t byte : rgb)
        if (byte) return true;
    return false;
}

class WizardPictures : public WizardTestPrinter {
protected:
    void SetUp() override {
        const wchar_t *dir = _wgetenv(L"ZVAA_PICTURES_DIR");
        if (!dir || !*dir) GTEST_SKIP() << "ZVAA_PICTURES_DIR is not set";
        m_dir = dir;
        if (m_dir[0] == L'/') {
            for (wchar_t &c : m_dir)
                if (c == L'/') c = L'\\';
            m_dir = L"Z:" + m_dir;
        }
        if (m_dir.back() != L'\\') m_dir += L'\\';
        WizardTestPrinter::SetUp();
    }
    // Saves the dialog as <name>.png once it has been on the screen for a moment (a dialog that has
    // just opened may not be painted yet), then goes on with `then`.
    std::function<void(DialogView &)> Shot(const wchar_t *name, std::function<void(DialogView &)> then) {
        return [this, name, then](DialogView &d) {
            s_pending = [this, name, then](DialogView &shown) {
                for (int attempt = 0; attempt < 20 && !HasPixels(shown.Handle()); ++attempt) Sleep(25);
                EXPECT_TRUE(shown.SaveScreenshot(m_dir + name + L".png")) << "cannot write the picture";
                EXPECT_TRUE(HasPixels(shown.Handle())) << "nothing painted";
                then(shown);
            };
            SetTimer(d.Handle(), kShotTimer, 150, TakeShot);
        };
    }
    static void CALLBACK TakeShot(HWND dialog, UINT, UINT_PTR id, DWORD) {
        KillTimer(dialog, id);
        DialogView view(dialog);
        auto pending = std::move(s_pending);
        s_pending = nullptr;
        if (pending) pending(view);
    }

    static constexpr UINT_PTR kShotTimer = 0x5A56;
    static std::function<void(DialogView &)> s_pending;
    std::wstring m_dir;
};

std::function<void(DialogView &)> WizardPictures::s_pending;

TEST_F(WizardPictures, CartridgeAndAlignmentChain) {
    ImportPatch setJob(GetModuleHandleW(nullptr), "winspool.drv", "SetJobW", reinterpret_cast<const void *>(&IgnoreSetJob));
    m_environment.WriteDriverFile(L"zvaaalg6.out", "page");
    m_environment.WriteDriverFile(L"zvaaalg4.out", "page");
    {
        // 154 with the stored pair colour + black, then colour high-capacity + photo chosen: 151 and
        // 104 with the four groups of colour + photo.
        DialogRobot robot;
        robot.Next(Shot(L"dialog154-cartridge-identification", [](DialogView &d) {
            d.SelectComboIndex(IDC_LEFT_COMBO, 1);
            d.SelectComboIndex(IDC_RIGHT_COMBO, 2);
            d.Check(IDC_RIGHT_USED);
            d.Press(IDOK);
        }));
        robot.Next(Shot(L"dialog151-alignment-preparation", [](DialogView &d) { d.Press(IDOK); }));
        robot.Next(Shot(L"dialog104-alignment-colour-photo", [](DialogView &d) { d.Press(IDCANCEL); }));
        StartPostInstall(m_printer.c_str());
    }
    {
        // 113 owned by a window, black + colour: 104 with all six groups, one value corrected.
        ASSERT_TRUE(State().Install(kCartColour, kCartBlack, kUntouchedLevel, 1));
        HWND owner = CreateWindowExW(0, L"STATIC", L"Egenskaper", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 400, 300,
                                     nullptr, nullptr, nullptr, nullptr);
        DialogRobot robot;
        robot.Next(Shot(L"dialog113-install-cartridge", [](DialogView &d) { d.Press(IDOK); }));
        robot.NextPress(IDOK);
        robot.Next(Shot(L"dialog104-alignment-black-colour", [](DialogView &d) {
            d.Type(IDC_EDIT_B, L"99");
            d.Press(IDCANCEL);
        }));
        PopupCartridgeInstallDialog(owner, m_printer.c_str());
        DestroyWindow(owner);
    }
    {
        // Black only: one group.
        ASSERT_TRUE(State().Install(kCartNone, kCartBlack, kUntouchedLevel, 1));
        DialogRobot robot;
        robot.Next(Shot(L"dialog104-alignment-black-only", [](DialogView &d) { d.Press(IDCANCEL); }));
        m_environment.WriteDriverFile(L"zvaaalg1.out", "page");
        RunAlignment(nullptr, m_printer.c_str());
    }
}

TEST_F(WizardPictures, Prompts) {
    DialogRobot robot;
    robot.Next(Shot(L"dialog150-setup-prompt", [](DialogView &d) { d.Press(IDOK); }));
    robot.Next(Shot(L"dialog152-manual-feed", [](DialogView &d) { d.Press(IDOK); }));
    robot.Next(Shot(L"dialog153-banner", [](DialogView &d) { d.Press(IDOK); }));
    PreInstall(m_printer.c_str());
    PopupManualDialog(m_printer.c_str(), nullptr);
    PopupBannerDialog(m_printer.c_str(), nullptr);
}

}  // namespace
