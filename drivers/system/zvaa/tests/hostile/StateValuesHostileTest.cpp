// A printer's state key as a damaged registry or another program leaves it: every value in turn of the
// wrong type (text, several texts, a number where bytes belong) or of the wrong size (0, 3, 5 and 1,000
// bytes). The operations that read the state (the document items, the installation event run again,
// the cartridge identification dialog, the alignment dialog) read what fits their four bytes or
// nothing, never write past it, and change nothing in the key they only read.
#include <gtest/gtest.h>

#include <wchar.h>

#include <string>
#include <vector>

#include "hostile/HostilePlugin.h"
#include "hostile/StateKeyValues.h"
#include "resources/ResourceIds.h"
#include "testbed/DialogRobot.h"
#include "testbed/ImportPatch.h"
#include "testbed/InkCounterNames.h"
#include "testbed/PrinterEnvironment.h"
#include "zvaaSUI.h"

namespace {

struct HostileStateValues : HostilePlugin {
    void SetUp() override {
        HostilePlugin::SetUp();
        printer = env.AddTestPrinter();
        ASSERT_FALSE(printer.empty());
        ASSERT_EQ(S_OK, plugin->PrinterEvent(&printer[0], PRINTER_EVENT_INITIALIZE, 0, 0));
        path = PrinterEnvironment::StateKeyPath(env.FriendlyNameOf(printer));
        installed = ReadStateKey(path);
        ASSERT_EQ(24u, installed.size());
        ledger->Reset();
    }

    // Damages each named value in turn and runs `readers`; the key must afterwards hold exactly what
    // it held before they ran.
    template <typename Readers> void EachDamage(const std::vector<std::wstring> &names, Readers readers) {
        for (const std::wstring &name : names) {
            for (const StateValue &damage : DamagedStateValues()) {
                SCOPED_TRACE(testing::Message() << "value " << testing::PrintToString(name) << ", type " << damage.first
                                                << ", " << damage.second.size() << " bytes");
                WriteStateValue(path, name, damage);
                const StateSnapshot before = ReadStateKey(path);
                readers();
                EXPECT_EQ(before, ReadStateKey(path)) << "a reader changed the key";
                EXPECT_TRUE(ledger->Balanced());
                ledger->Reset();
            }
            WriteStateValue(path, name, installed.at(name));
        }
    }

    HRESULT DocumentItems(OPTITEM &colour) {
        colour = {};
        colour.cbSize = sizeof colour;
        colour.DMPubID = DMPUB_COLOR;
        OPTITEM own = {};
        OEMCUIPPARAM param = {};
        param.cbSize = sizeof param;
        param.pPrinterName = &printer[0];
        param.pDrvOptItems = &colour;
        param.cDrvOptItems = 1;
        param.pOEMOptItems = &own;
        param.cOEMOptItems = 1;
        return plugin->CommonUIProp(OEMCUIP_DOCPROP, &param);
    }

    PrinterEnvironment env;
    std::wstring printer, path;
    StateSnapshot installed;
};

const std::vector<std::wstring> kCartridgeValues = {L"CartLeft", L"CartRight", L"AlignNeed"};

std::vector<std::wstring> LevelAndAlignmentValues() {
    std::vector<std::wstring> names(kInkCounterNames, kInkCounterNames + kInkCounterCount);
    for (int i = 0; i < 6; ++i) names.push_back(L"AlignCMYK_" + std::to_wstring(i));
    for (int i = 0; i < 4; ++i) names.push_back(L"AlignCMYKcm_" + std::to_wstring(i));
    return names;
}

// Wine's spooler faults inside SetJobW at level 2; the alignment print's job settings are accepted here.
BOOL WINAPI AcceptJobSettings(HANDLE, DWORD, DWORD, LPBYTE, DWORD) { return TRUE; }

}  // namespace

TEST_F(HostileStateValues, CartridgeValuesReadByTheItemsTheEventAndTheDialog) {
    auto identify = dll.get<decltype(&StartPostInstall)>("StartPostInstall");
    ASSERT_TRUE(identify);
    EachDamage(kCartridgeValues, [&] {
        OPTITEM colour;
        EXPECT_EQ(S_OK, DocumentItems(colour));
        EXPECT_TRUE(colour.Sel == 0 || colour.Sel == 1) << colour.Sel;
        EXPECT_EQ(S_OK, plugin->PrinterEvent(&printer[0], PRINTER_EVENT_INITIALIZE, 0, 0));
        DialogRobot robot;  // the identification dialog shows the damaged pair, and the user cancels
        EXPECT_EQ(1, identify(printer.c_str()));
        EXPECT_EQ(1u, robot.Seen().size());
    });
}

TEST_F(HostileStateValues, LevelAndAlignmentValuesSurviveTheReadersOfThePair) {
    EachDamage(LevelAndAlignmentValues(), [&] {
        OPTITEM colour;
        EXPECT_EQ(S_OK, DocumentItems(colour));
        EXPECT_EQ(S_OK, plugin->PrinterEvent(&printer[0], PRINTER_EVENT_INITIALIZE, 0, 0));
    });
}

TEST_F(HostileStateValues, AKeyThatIsNotAKeyOfValuesButOfSubkeys) {
    // Every value gone, subkeys where values belong: reads fail cleanly, and the installation gives the
    // key its values again beside the subkeys.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key));
    for (const auto &value : installed) {
        RegDeleteValueW(key, value.first.c_str());
        HKEY sub = nullptr;
        RegCreateKeyExW(key, value.first.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr);
        if (sub) RegCloseKey(sub);
    }
    RegCloseKey(key);
    ledger->Reset();
    OPTITEM colour;
    EXPECT_EQ(S_OK, DocumentItems(colour));
    EXPECT_EQ(0, colour.Sel);
    EXPECT_EQ(S_OK, plugin->PrinterEvent(&printer[0], PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ(installed, ReadStateKey(path));
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileStateValues, AlignmentValuesReadByTheAlignmentDialog) {
    env.WriteDriverFile(L"zvaaalg4.out", std::string(3000, '\x1B'));  // black + colour, as installed
    ImportPatch jobSettings(dll.module(), "winspool.drv", "SetJobW", reinterpret_cast<const void *>(&AcceptJobSettings));
    auto identify = dll.get<decltype(&StartPostInstall)>("StartPostInstall");
    ASSERT_TRUE(identify);
    const int edits[6] = {IDC_EDIT_A, IDC_EDIT_B, IDC_EDIT_C, IDC_EDIT_D, IDC_EDIT_E, IDC_EDIT_F};
    for (const StateValue &damage : DamagedStateValues()) {
        SCOPED_TRACE(testing::Message() << "type " << damage.first << ", " << damage.second.size() << " bytes");
        for (int i = 0; i < 6; ++i) WriteStateValue(path, L"AlignCMYK_" + std::to_wstring(i), damage);
        const StateSnapshot before = ReadStateKey(path);
        ledger->Reset();
        DialogRobot robot;
        robot.NextPress(IDOK);  // identification: the pair as installed
        robot.NextPress(IDOK);  // preparation: print the alignment page
        robot.Next([&](DialogView &d) {
            for (int edit : edits) {
                const std::wstring shown = d.Text(edit);
                wchar_t *end = nullptr;
                wcstol(shown.c_str(), &end, 10);
                EXPECT_TRUE(!shown.empty() && shown.size() <= 11 && *end == L'\0')
                    << "not a number: " << testing::PrintToString(shown);
            }
            d.Press(IDCANCEL);
        });
        EXPECT_EQ(1, identify(printer.c_str()));
        EXPECT_EQ(0u, robot.Pending());
        EXPECT_EQ(0u, robot.Unexpected());
        const StateSnapshot after = ReadStateKey(path);
        for (int i = 0; i < 6; ++i) {
            const std::wstring name = L"AlignCMYK_" + std::to_wstring(i);
            EXPECT_EQ(before.at(name), after.at(name)) << "a cancelled alignment wrote " << testing::PrintToString(name);
        }
        EXPECT_TRUE(ledger->Balanced());
    }
}
