// The document and printer property items: what the plug-in changes in the driver's items, its own
// item, and the two callbacks.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/CommonUiItems.h"
#include "core/OemPrivateDevmode.h"
#include "state/PrinterStateKey.h"
#include "support/HandleLedger.h"
#include "testbed/PrinterEnvironment.h"

namespace {

constexpr DWORD kQualitySwitchChecked = OPTIF_ECB_CHECKED;

OPTITEM Item(BYTE id, DWORD flags = 0, LONG sel = 0) {
    OPTITEM item = {};
    item.cbSize = sizeof(OPTITEM);
    item.DMPubID = id;
    item.Flags = flags;
    item.Sel = sel;
    return item;
}

// One sheet's parameter record with the driver's items and room for the plug-in's one item.
struct Sheet {
    std::vector<OPTITEM> driver;
    OPTITEM own[1] = {};
    OemPrivateDevmode section = {};
    OEMCUIPPARAM param = {};

    Sheet(const std::wstring &printer, std::vector<OPTITEM> items, HANDLE handle = nullptr) : driver(std::move(items)) {
        param.cbSize = sizeof param;
        param.pPrinterName = const_cast<PWSTR>(printer.c_str());
        param.hPrinter = handle;
        param.pOEMDM = &section;
        param.pDrvOptItems = driver.empty() ? nullptr : driver.data();
        param.cDrvOptItems = (DWORD)driver.size();
        param.pOEMOptItems = own;
        param.cOEMOptItems = 1;
    }
    LONG Callback(WORD reason) {
        CPSUICBPARAM event = {};
        event.cbSize = sizeof event;
        event.Reason = reason;
        return param.OEMCUIPCallback(&event, &param);
    }
};

const std::vector<OPTITEM> kDriverItems = {Item(5, 0x20, 3), Item(6, 0x10, 2), Item(10, 0x0D), Item(11, 0x48),
                                           Item(15, 0), Item(20, 0x01, 9)};

}  // namespace

TEST(CommonUIProp, CountRequestsAskForOneItemAndTouchNothing) {
    for (DWORD mode : {(DWORD)OEMCUIP_DOCPROP, (DWORD)OEMCUIP_PRNPROP}) {
        Sheet sheet(L"ingen", kDriverItems);
        sheet.param.pOEMOptItems = nullptr;
        sheet.param.cOEMOptItems = 0;
        EXPECT_EQ(S_OK, OemCommonUIProp(mode, &sheet.param));
        EXPECT_EQ(1u, sheet.param.cOEMOptItems);
        EXPECT_EQ(nullptr, sheet.param.OEMCUIPCallback);
        EXPECT_EQ(0, memcmp(kDriverItems.data(), sheet.driver.data(), kDriverItems.size() * sizeof(OPTITEM)));
    }
}

TEST(CommonUIProp, BadModesAndMissingRecordsAreRefused) {
    Sheet sheet(L"ingen", kDriverItems);
    for (DWORD mode : {0u, 3u, 0xFFFFFFFFu}) {
        SetLastError(0);
        EXPECT_EQ(E_FAIL, OemCommonUIProp(mode, &sheet.param));
        EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
    }
    EXPECT_EQ(0, memcmp(kDriverItems.data(), sheet.driver.data(), kDriverItems.size() * sizeof(OPTITEM)));
    for (DWORD mode : {(DWORD)OEMCUIP_DOCPROP, (DWORD)OEMCUIP_PRNPROP}) {
        SetLastError(0);
        EXPECT_EQ(E_FAIL, OemCommonUIProp(mode, nullptr));
        EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
    }
}

TEST(CommonUIProp, DocumentSheetHidesColourMatchingAndPreparesTheOwnItem) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    Sheet sheet(printer, kDriverItems);
    memset(sheet.own, 0x5A, sizeof sheet.own);

    HandleLedger ledger(HandleLedger::ProgramModule());
    EXPECT_EQ(S_OK, OemCommonUIProp(OEMCUIP_DOCPROP, &sheet.param));
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ((DWORD)OPTIF_HIDE, sheet.driver[2].Flags);
    EXPECT_EQ((DWORD)OPTIF_HIDE, sheet.driver[3].Flags);
    EXPECT_EQ(0, memcmp(&kDriverItems[1], &sheet.driver[1], sizeof(OPTITEM))) << "black and colour: colour item as it was";
    EXPECT_EQ(0, memcmp(&kDriverItems[0], &sheet.driver[0], sizeof(OPTITEM)));
    EXPECT_EQ(DocumentItemCallback, sheet.param.OEMCUIPCallback);
    const OPTITEM bare = Item(0);
    EXPECT_EQ(0, memcmp(&bare, &sheet.own[0], sizeof(OPTITEM)));
    EXPECT_EQ(ForArch(52, 88), sizeof(OPTITEM)) << "the platform's item record of this architecture";
}

TEST(CommonUIProp, ColourItemIsLockedForPairsThatPrintOneWayOnly) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    const struct {
        CartridgeType left, right;
        bool locked;
    } pairs[] = {
        {kCartNone, kCartBlack, true},        {kCartColour, kCartNone, true},     {kCartColourHigh, kCartPhoto, true},
        {kCartColour, kCartBlackHigh, false}, {kCartColour, kCartColour, false}, {kCartNone, kCartNone, false},
    };
    for (const auto &p : pairs) {
        ASSERT_TRUE(WriteCartridges(printer.c_str(), p.left, p.right));
        Sheet sheet(printer, kDriverItems);
        ASSERT_EQ(S_OK, OemCommonUIProp(OEMCUIP_DOCPROP, &sheet.param));
        const OPTITEM &colour = sheet.driver[1];
        if (p.locked) {
            EXPECT_EQ(0x10u | OPTIF_DISABLED | OPTIF_CHANGED, colour.Flags) << p.left << "," << p.right;
            EXPECT_EQ(1, colour.Sel);
        } else {
            EXPECT_EQ(0x10u, colour.Flags) << p.left << "," << p.right;
            EXPECT_EQ(2, colour.Sel);
        }
    }
}

TEST(CommonUIProp, ColourItemStaysAsTheDriverMadeItWhenThePairCannotBeRead) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    // Installed, then the pair lost: a key without cartridge values.
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                           PrinterEnvironment::StateKeyPath(env.FriendlyNameOf(printer)).c_str(), 0,
                                           KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key));
    RegDeleteValueW(key, L"CartLeft");
    RegCloseKey(key);
    Sheet sheet(printer, kDriverItems);
    ASSERT_EQ(S_OK, OemCommonUIProp(OEMCUIP_DOCPROP, &sheet.param));
    EXPECT_EQ(0, memcmp(&kDriverItems[1], &sheet.driver[1], sizeof(OPTITEM)));
}

TEST(DocumentItemCallback, QualityFollowsTheExtendedCheckBoxOfItem15) {
    Sheet sheet(L"ingen", kDriverItems);
    sheet.param.OEMCUIPCallback = DocumentItemCallback;

    sheet.driver[4].Flags = kQualitySwitchChecked;
    EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, sheet.Callback(CPSUICB_REASON_SEL_CHANGED));
    EXPECT_EQ(0u, sheet.driver[0].Flags & OPTIF_DISABLED);
    for (const OPTITEM &item : sheet.driver) EXPECT_NE(0u, item.Flags & OPTIF_CHANGED) << (int)item.DMPubID;

    sheet.driver[4].Flags = 0;
    EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, sheet.Callback(CPSUICB_REASON_ECB_CHANGED));
    EXPECT_NE(0u, sheet.driver[0].Flags & OPTIF_DISABLED);

    // Without an item 15 a selection change changes nothing.
    std::vector<OPTITEM> noSwitch = {Item(5, 0x20), Item(6)};
    Sheet plain(L"ingen", noSwitch);
    plain.param.OEMCUIPCallback = DocumentItemCallback;
    EXPECT_EQ(CPSUICB_ACTION_NONE, plain.Callback(CPSUICB_REASON_SEL_CHANGED));
    EXPECT_EQ(0, memcmp(noSwitch.data(), plain.driver.data(), noSwitch.size() * sizeof(OPTITEM)));
    EXPECT_EQ(CPSUICB_ACTION_NONE, plain.Callback(CPSUICB_REASON_DLGPROC));
}

TEST(DocumentItemCallback, OwnItemTravelsBetweenTheSectionAndTheSheet) {
    std::vector<OPTITEM> noSwitch = {Item(6)};
    Sheet sheet(L"ingen", noSwitch);
    sheet.param.OEMCUIPCallback = DocumentItemCallback;
    InitOemItems(sheet.own, 1);

    sheet.section.OemUiValue = 42;
    EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, sheet.Callback(CPSUICB_REASON_SETACTIVE));
    EXPECT_EQ(42, sheet.own[0].Sel);
    EXPECT_NE(0u, sheet.own[0].Flags & OPTIF_CHANGED);

    sheet.own[0].Sel = 7;
    EXPECT_EQ(CPSUICB_ACTION_NONE, sheet.Callback(CPSUICB_REASON_KILLACTIVE));
    EXPECT_EQ(7, sheet.section.OemUiValue);
    sheet.own[0].Sel = 9;
    EXPECT_EQ(CPSUICB_ACTION_NONE, sheet.Callback(CPSUICB_REASON_APPLYNOW));
    EXPECT_EQ(9, sheet.section.OemUiValue);

    // Missing parts of the record are passed over, not followed.
    sheet.param.pOEMDM = nullptr;
    EXPECT_EQ(CPSUICB_ACTION_NONE, sheet.Callback(CPSUICB_REASON_APPLYNOW));
    EXPECT_EQ(CPSUICB_ACTION_NONE, DocumentItemCallback(nullptr, &sheet.param));
}

namespace {
DWORD StoredValue(const std::wstring &printer, DWORD *type) {
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr)) return 0xDEAD;
    DWORD value = 0xDEAD, size = 0;
    GetPrinterDataW(handle, const_cast<LPWSTR>(L"OEMUI_VALUE"), type, reinterpret_cast<LPBYTE>(&value), sizeof value,
                    &size);
    ClosePrinter(handle);
    return value;
}
}  // namespace

TEST(PrinterItemCallback, ApplyingStoresTheItemAsPrinterData) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    HANDLE handle = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, &defaults));

    Sheet sheet(printer, kDriverItems, handle);
    HandleLedger ledger(HandleLedger::ProgramModule());
    ASSERT_EQ(S_OK, OemCommonUIProp(OEMCUIP_PRNPROP, &sheet.param));
    EXPECT_EQ(PrinterItemCallback, sheet.param.OEMCUIPCallback);
    EXPECT_EQ(0, sheet.own[0].Sel);
    EXPECT_EQ(0, memcmp(kDriverItems.data(), sheet.driver.data(), kDriverItems.size() * sizeof(OPTITEM)));
    EXPECT_EQ(CPSUICB_ACTION_NONE, sheet.Callback(CPSUICB_REASON_APPLYNOW));
    EXPECT_TRUE(ledger.Balanced());
    DWORD type = 0;
    EXPECT_EQ(0u, StoredValue(printer, &type));
    EXPECT_EQ((DWORD)REG_DWORD, type);

    sheet.own[0].Sel = 33;
    EXPECT_EQ(CPSUICB_ACTION_NONE, sheet.Callback(CPSUICB_REASON_SEL_CHANGED));
    EXPECT_EQ(0u, StoredValue(printer, &type)) << "only applying stores";
    EXPECT_EQ(CPSUICB_ACTION_NONE, sheet.Callback(CPSUICB_REASON_APPLYNOW));
    EXPECT_EQ(33u, StoredValue(printer, &type));

    // The next sheet starts from what is stored, so applying it unchanged keeps the value.
    Sheet next(printer, kDriverItems, handle);
    ASSERT_EQ(S_OK, OemCommonUIProp(OEMCUIP_PRNPROP, &next.param));
    EXPECT_EQ(33, next.own[0].Sel);
    const DWORD tooLarge = 101;
    SetPrinterDataW(handle, const_cast<LPWSTR>(L"OEMUI_VALUE"), REG_DWORD, (LPBYTE)&tooLarge, sizeof tooLarge);
    Sheet reset(printer, kDriverItems, handle);
    ASSERT_EQ(S_OK, OemCommonUIProp(OEMCUIP_PRNPROP, &reset.param));
    EXPECT_EQ(0, reset.own[0].Sel);
    ClosePrinter(handle);
}
