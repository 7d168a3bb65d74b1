// The driver files directory as a damaged installation leaves it: INI files that are empty, binary,
// 1 MB long or one endless line, a thousand INI files of other drivers, a print file that is missing.
// The driver's own INI is still found among them and its names shown; nothing faults or stays open;
// a missing print file leads to the retry prompt and, given up, to nothing more.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hostile/HostilePlugin.h"
#include "resources/ResourceIds.h"
#include "testbed/DialogRobot.h"
#include "testbed/PrinterEnvironment.h"
#include "zvaaSUI.h"

namespace {

constexpr wchar_t kOwnColourName[] = L"Hostilfärg ÅÄÖ";

std::string Utf16(const std::wstring &text) {
    return std::string("\xFF\xFE", 2) + std::string(reinterpret_cast<const char *>(text.data()), text.size() * 2);
}

struct HostileDriverFiles : HostilePlugin {
    void SetUp() override {
        HostilePlugin::SetUp();
        printer = env.AddTestPrinter();
        ASSERT_FALSE(printer.empty());
    }
    // A file of the driver files directory with a name of this test's own.
    void WriteIni(const std::wstring &name, const std::string &bytes) {
        ASSERT_FALSE(env.WriteFileAt(env.DriverFilesDir() + name + L"-" + env.Tag() + L".ini", bytes).empty());
    }
    void WriteOwnIni() { env.WriteOwnDriverIni(std::wstring(L"CART_STD=") + kOwnColourName + L"\n"); }

    // Installation, then the identification dialog, whose left list must name the colour cartridge
    // as the driver's own INI does.
    void InstallAndIdentify() {
        EXPECT_EQ(S_OK, plugin->PrinterEvent(&printer[0], PRINTER_EVENT_INITIALIZE, 0, 0));
        EXPECT_EQ(24u, PrinterEnvironment::StateValueNames(env.FriendlyNameOf(printer)).size());
        auto identify = dll.get<decltype(&StartPostInstall)>("StartPostInstall");
        ASSERT_TRUE(identify);
        std::vector<std::wstring> items;
        DialogRobot robot;
        robot.Next([&](DialogView &d) {
            items = d.ComboItems(IDC_LEFT_COMBO);
            d.Press(IDCANCEL);
        });
        EXPECT_EQ(1, identify(printer.c_str()));
        EXPECT_EQ(0u, robot.Pending());
        EXPECT_NE(items.end(), std::find(items.begin(), items.end(), std::wstring(kOwnColourName)))
            << "the driver's own INI was not found among the others";
        EXPECT_TRUE(ledger->Balanced());
    }

    PrinterEnvironment env;
    std::wstring printer;
};

}  // namespace

TEST_F(HostileDriverFiles, EmptyBinaryHugeAndEndlessIniFiles) {
    WriteIni(L"tom", std::string());
    std::string binary(64 * 1024, '\0');
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    WriteIni(L"binar", binary);
    std::wstring huge = L"[OEMFiles]\r\nOEMDriverName=Annan drivrutin\r\n";
    for (int i = 0; huge.size() < 512 * 1024; ++i) huge += L"CART_STD" + std::to_wstring(i) + L"=Färg\r\n";
    WriteIni(L"stor", Utf16(huge));  // 1 MB of UTF-16
    WriteIni(L"rad", "[OEMFiles]\r\nOEMDriverName=" + std::string(1 << 20, 'x'));
    WriteIni(L"utan", std::string(1 << 20, '['));
    // The printer's own driver named in a value far too long for any buffer: not the driver's INI.
    WriteIni(L"lang", Utf16(L"[OEMFiles]\r\nOEMDriverName=" + env.DriverName() + std::wstring(100000, L'ö')));
    WriteOwnIni();
    ledger->Reset();
    InstallAndIdentify();
}

TEST_F(HostileDriverFiles, AThousandIniFilesOfOtherDrivers) {
    for (int i = 0; i < 1000; ++i) {
        WriteIni(L"annan" + std::to_wstring(i),
                 "[OEMFiles]\r\nOEMDriverName=Annan drivrutin " + std::to_string(i) + "\r\nCART_STD=Fel\r\n");
    }
    WriteOwnIni();
    ledger->Reset();
    InstallAndIdentify();
}

TEST_F(HostileDriverFiles, AMissingAlignmentFileIsRetriedThenGivenUp) {
    env.LockShared();  // no other test's print files while this one looks for none
    ASSERT_EQ(S_OK, plugin->PrinterEvent(&printer[0], PRINTER_EVENT_INITIALIZE, 0, 0));
    auto identify = dll.get<decltype(&StartPostInstall)>("StartPostInstall");
    ASSERT_TRUE(identify);
    ledger->Reset();
    DialogRobot robot;
    robot.NextPress(IDOK);  // identification: continue with the pair as installed
    robot.NextPress(IDOK);  // alignment preparation: print
    std::vector<std::wstring> prompts;
    robot.Next([&](DialogView &d) {
        prompts.push_back(d.MessageText());
        d.Press(IDRETRY);
    });
    robot.Next([&](DialogView &d) {
        prompts.push_back(d.MessageText());
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(1, identify(printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected()) << "no alignment dialog after the print was given up";
    ASSERT_EQ(2u, prompts.size());
    EXPECT_EQ(L"Fel vid justering av bläckpatroner", prompts[0]);
    EXPECT_TRUE(env.ReadPortBytes(printer).empty()) << "nothing reached the printer";
    EXPECT_TRUE(ledger->Balanced());
}
