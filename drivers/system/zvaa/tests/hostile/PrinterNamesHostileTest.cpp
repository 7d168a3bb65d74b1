// Printer and driver names of 259, 260, 1,000 and 10,000 characters given to every operation that
// takes one: the printer events, the document items, the property sheets, the setup and print-time
// exports. None of them names an existing printer, so each must end in its defined "no such printer"
// result without a fault, without opening a dialog it cannot fill, leaving nothing open, and without
// touching another printer's state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostile/HostilePlugin.h"
#include "testbed/DialogRobot.h"
#include "testbed/PrinterEnvironment.h"
#include "zvaaSUI.h"

namespace {

const size_t kLengths[] = {259, 260, 1000, 10000};

struct HostileNames : HostilePlugin {
    // A state key of another driver's printer that no call here may touch.
    void SetUp() override {
        HostilePlugin::SetUp();
        survivor = L"ZV Överlevare " + env.Tag() + L" /tmp/zvaa-port.prn";
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(survivor).c_str(), 0,
                                                 nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr));
        const DWORD colour = 3;
        RegSetValueExW(key, L"CartLeft", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&colour), 4);
        RegCloseKey(key);
        ledger->Reset();
    }
    void ExpectSurvivorIntact() {
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(PrinterEnvironment::ReadStateValue(survivor, L"CartLeft", &type, &bytes));
        EXPECT_EQ(std::string("\x03\0\0\0", 4), bytes);
    }

    PrinterEnvironment env;
    std::wstring survivor;
};

LONG_PTR CALLBACK RecordPage(HANDLE, UINT, LPARAM, LPARAM) { return 1; }

}  // namespace

TEST_F(HostileNames, PrinterEventsAndDocumentItems) {
    for (size_t length : kLengths) {
        SCOPED_TRACE(testing::Message() << length << " characters");
        std::wstring name = LongName(length);
        EXPECT_EQ(S_OK, plugin->PrinterEvent(&name[0], PRINTER_EVENT_INITIALIZE, 0, 0));
        EXPECT_EQ(S_OK, plugin->PrinterEvent(&name[0], PRINTER_EVENT_DELETE, 0, 0));

        OPTITEM items[2] = {};
        items[0].cbSize = items[1].cbSize = sizeof(OPTITEM);
        items[0].DMPubID = DMPUB_COLOR;
        items[0].Sel = 0;
        items[1].DMPubID = DMPUB_ICMMETHOD;
        OPTITEM own = {};
        OEMCUIPPARAM param = {};
        param.cbSize = sizeof param;
        param.pPrinterName = &name[0];
        param.pDrvOptItems = items;
        param.cDrvOptItems = 2;
        param.pOEMOptItems = &own;
        param.cOEMOptItems = 1;
        EXPECT_EQ(S_OK, plugin->CommonUIProp(OEMCUIP_DOCPROP, &param));
        EXPECT_EQ(0, items[0].Sel) << "a pair that cannot be read leaves the colour item alone";
        EXPECT_EQ(0u, items[0].Flags & OPTIF_DISABLED);
        EXPECT_EQ((DWORD)OPTIF_HIDE, items[1].Flags);
        EXPECT_TRUE(ledger->Balanced());
    }
    ExpectSurvivorIntact();
}

TEST_F(HostileNames, DriverEventsWithNamesThatMatchNothingDeleteNothing) {
    for (size_t length : kLengths) {
        SCOPED_TRACE(testing::Message() << length << " characters");
        std::wstring name = LongName(length);
        DRIVER_INFO_3W info = {};
        info.cVersion = 3;
        info.pName = &name[0];
        for (DWORD level : {1u, 2u, 3u, 6u, 0u, 0xFFFFFFFFu}) {
            // Level 1 names the driver in its first field, every other level in its second.
            DRIVER_INFO_1W first = {&name[0]};
            LPBYTE record = level == 1 ? reinterpret_cast<LPBYTE>(&first) : reinterpret_cast<LPBYTE>(&info);
            EXPECT_EQ(S_OK, plugin->DriverEvent(DRIVER_EVENT_DELETE, level, record, 0));
        }
        EXPECT_TRUE(ledger->Balanced());
    }
    // An empty name or none at all is contained in every key name: it must not delete them all.
    DRIVER_INFO_3W empty = {};
    empty.pName = const_cast<LPWSTR>(L"");
    EXPECT_EQ(S_OK, plugin->DriverEvent(DRIVER_EVENT_DELETE, 3, reinterpret_cast<LPBYTE>(&empty), 0));
    empty.pName = nullptr;
    EXPECT_EQ(S_OK, plugin->DriverEvent(DRIVER_EVENT_DELETE, 3, reinterpret_cast<LPBYTE>(&empty), 0));
    DRIVER_INFO_1W none = {nullptr};
    EXPECT_EQ(S_OK, plugin->DriverEvent(DRIVER_EVENT_DELETE, 1, reinterpret_cast<LPBYTE>(&none), 0));
    EXPECT_EQ(S_OK, plugin->DriverEvent(DRIVER_EVENT_DELETE, 3, nullptr, 0));
    EXPECT_TRUE(ledger->Balanced());
    ExpectSurvivorIntact();
}

TEST_F(HostileNames, PropertySheetsForAPrinterThatIsNotThere) {
    for (size_t length : kLengths) {
        SCOPED_TRACE(testing::Message() << length << " characters");
        std::wstring name = LongName(length);
        OEMUIPSPARAM param = {};
        param.cbSize = sizeof param;
        param.pPrinterName = &name[0];
        PROPSHEETUI_INFO info = {};
        info.cbSize = sizeof info;
        info.Version = PROPSHEETUI_INFO_VERSION;
        info.Reason = PROPSHEETUI_REASON_INIT;
        info.lParamInit = reinterpret_cast<LPARAM>(&param);
        info.pfnComPropSheet = RecordPage;
        const HRESULT hr = plugin->DevicePropertySheets(&info, 0);
        EXPECT_TRUE(hr == S_OK || hr == E_NOTIMPL) << std::hex << hr;
        EXPECT_TRUE(ledger->Balanced());
    }
    // The sheet's other calls with the records they point to missing.
    for (int reason : {PROPSHEETUI_REASON_GET_INFO_HEADER, PROPSHEETUI_REASON_SET_RESULT, PROPSHEETUI_REASON_DESTROY,
                        PROPSHEETUI_REASON_GET_ICON, 77}) {
        PROPSHEETUI_INFO info = {};
        info.cbSize = sizeof info;
        info.Version = PROPSHEETUI_INFO_VERSION;
        info.Reason = static_cast<WORD>(reason);
        const HRESULT hr = plugin->DevicePropertySheets(&info, 0);
        EXPECT_TRUE(hr == S_OK || hr == E_NOTIMPL) << "reason " << reason << ": " << std::hex << hr;
    }
    const HRESULT none = plugin->DevicePropertySheets(nullptr, 0);
    EXPECT_TRUE(none == E_FAIL || none == E_NOTIMPL) << std::hex << none;
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileNames, SetupAndPrintTimeExports) {
    auto manual = dll.get<decltype(&PopupManualDialog)>("PopupManualDialog");
    auto banner = dll.get<decltype(&PopupBannerDialog)>("PopupBannerDialog");
    auto postInstall = dll.get<decltype(&StartPostInstall)>("StartPostInstall");
    auto preInstall = dll.get<decltype(&PreInstall)>("PreInstall");
    ASSERT_TRUE(manual && banner && postInstall && preInstall);
    for (size_t length : kLengths) {
        SCOPED_TRACE(testing::Message() << length << " characters");
        const std::wstring name = LongName(length);
        DialogRobot robot;  // a user who closes whatever opens
        EXPECT_EQ(-1, manual(name.c_str(), nullptr));
        EXPECT_EQ(-1, banner(name.c_str(), nullptr));
        const INT shown = postInstall(name.c_str());
        EXPECT_TRUE(shown == 0 || shown == 1) << shown;
        const INT asked = preInstall(name.c_str());
        EXPECT_TRUE(asked == 2 || asked == -1) << asked;  // closed by the user, or not shown
        EXPECT_EQ(-1, manual(nullptr, nullptr));
        EXPECT_EQ(-1, banner(nullptr, reinterpret_cast<HANDLE>(0x1234)));
        EXPECT_TRUE(ledger->Balanced());
    }
    ExpectSurvivorIntact();
}

TEST_F(HostileNames, ARealPrinterWithTheLongestNameTheSpoolerTakes) {
    // The longest name Wine's spooler accepts for a printer of its own, up to the 259 of a printer name.
    std::wstring printer;
    for (size_t length = 259; length >= 64 && printer.empty(); length -= 13) {
        std::wstring name = env.Tag() + L" " + LongName(length);
        name.resize(length);
        printer = env.AddTestPrinter(name);
    }
    ASSERT_FALSE(printer.empty());
    RecordProperty("printer_name_length", static_cast<int>(printer.size()));
    ledger->Reset();
    EXPECT_EQ(S_OK, plugin->PrinterEvent(&printer[0], PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ(24u, PrinterEnvironment::StateValueNames(env.FriendlyNameOf(printer)).size());
    auto identify = dll.get<decltype(&StartPostInstall)>("StartPostInstall");
    ASSERT_TRUE(identify);
    std::wstring title;
    DialogRobot robot;
    robot.Next([&](DialogView &d) {
        title = d.Title();
        d.Press(IDCANCEL);
    });
    EXPECT_EQ(1, identify(printer.c_str()));
    EXPECT_EQ(printer, title) << "the dialog names the printer in full";
    EXPECT_TRUE(ledger->Balanced());
}
