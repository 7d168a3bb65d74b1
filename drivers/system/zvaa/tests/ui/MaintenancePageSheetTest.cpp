// The page's side of DevicePropertySheets for the reasons and records the host does not vary: a
// missing record, a wrong version, and the answers for icon, result and unknown reasons.
#include <gtest/gtest.h>

#include "ui/MaintenancePage.h"

namespace {

int g_sheetCalls = 0;
LONG_PTR CALLBACK CountingSheet(HANDLE, UINT, LPARAM, LPARAM) {
    ++g_sheetCalls;
    return 0;
}

struct SheetInfo {
    OEMUIPSPARAM param = {};
    PROPSHEETUI_INFO info = {};
    explicit SheetInfo(WORD reason, WORD version = PROPSHEETUI_INFO_VERSION) {
        param.cbSize = sizeof param;
        param.pPrinterName = const_cast<PWSTR>(L"Skrivare som inte finns");
        info.cbSize = sizeof info;
        info.Version = version;
        info.Reason = reason;
        info.pfnComPropSheet = CountingSheet;
        info.lParamInit = reinterpret_cast<LPARAM>(&param);
        info.Result = 0xBAD;
    }
};

TEST(MaintenancePageSheet, MissingRecordOrWrongVersionFailsWithInvalidParameter) {
    SetLastError(0);
    EXPECT_EQ(E_FAIL, AddMaintenancePage(nullptr, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());

    SheetInfo sheet(PROPSHEETUI_REASON_INIT, 0x0200);
    SetLastError(0);
    EXPECT_EQ(E_FAIL, AddMaintenancePage(&sheet.info, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    // The printer name is kept before the version is looked at; nothing else happens.
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(sheet.param.pPrinterName), sheet.info.UserData);
    EXPECT_EQ(0xBADu, sheet.info.Result);
    EXPECT_EQ(0, g_sheetCalls);
}

TEST(MaintenancePageSheet, AnswersForTheOtherReasons) {
    SheetInfo icon(PROPSHEETUI_REASON_GET_ICON);
    EXPECT_EQ(S_OK, AddMaintenancePage(&icon.info, 77));
    EXPECT_EQ(0u, icon.info.Result);

    SheetInfo destroy(PROPSHEETUI_REASON_DESTROY);
    EXPECT_EQ(S_OK, AddMaintenancePage(&destroy.info, 0));
    EXPECT_EQ(1u, destroy.info.Result);

    SheetInfo result(PROPSHEETUI_REASON_SET_RESULT);
    SETRESULT_INFO setResult = {sizeof setResult, 0, nullptr, CPSUI_OK};
    EXPECT_EQ(S_OK, AddMaintenancePage(&result.info, reinterpret_cast<LPARAM>(&setResult)));
    EXPECT_EQ(static_cast<ULONG_PTR>(CPSUI_OK), result.info.Result);

    SheetInfo unknown(9);
    EXPECT_EQ(S_OK, AddMaintenancePage(&unknown.info, 4242));
    EXPECT_EQ(4242u, unknown.info.Result);
    EXPECT_EQ(0, g_sheetCalls);
}

TEST(MaintenancePageSheet, WithoutPrinterNameNoPageIsAdded) {
    SheetInfo init(PROPSHEETUI_REASON_INIT);
    init.info.lParamInit = 0;  // no OEMUIPSPARAM: nothing to show a page for
    EXPECT_EQ(S_OK, AddMaintenancePage(&init.info, 55));
    EXPECT_EQ(55u, init.info.Result);
    EXPECT_EQ(0u, init.info.UserData);
    EXPECT_EQ(0, g_sheetCalls);
}

}  // namespace
