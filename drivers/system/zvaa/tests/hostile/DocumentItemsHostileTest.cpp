// The driver's property items and their callbacks as a careless driver hands them over: item counts
// without items, a printer handle that is no handle, the plug-in's own item missing, a devmode section
// with a value far out of range, callback records missing or of unknown reasons.
#include <gtest/gtest.h>

#include "core/OemPrivateDevmode.h"
#include "hostile/HostilePlugin.h"

namespace {

struct HostileDocumentItems : HostilePlugin {
    OEMCUIPPARAM Param(DWORD drvCount, POPTITEM drvItems, POPTITEM own, DWORD ownCount) {
        OEMCUIPPARAM param = {};
        param.cbSize = sizeof param;
        param.pPrinterName = const_cast<PWSTR>(L"Ingen sådan skrivare");
        param.pDrvOptItems = drvItems;
        param.cDrvOptItems = drvCount;
        param.pOEMOptItems = own;
        param.cOEMOptItems = ownCount;
        return param;
    }
};

}  // namespace

TEST_F(HostileDocumentItems, CountsWithoutItemsAndHandlesThatAreNone) {
    OPTITEM own = {};
    for (DWORD mode : {(DWORD)OEMCUIP_DOCPROP, (DWORD)OEMCUIP_PRNPROP}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        OEMCUIPPARAM param = Param(100000, nullptr, &own, 1);
        EXPECT_EQ(S_OK, plugin->CommonUIProp(mode, &param));
        for (HANDLE printer : {(HANDLE) nullptr, (HANDLE)0x1234, INVALID_HANDLE_VALUE}) {
            param = Param(0, nullptr, &own, 1);
            param.hPrinter = printer;
            param.pPrinterName = nullptr;
            EXPECT_EQ(S_OK, plugin->CommonUIProp(mode, &param));
            EXPECT_EQ(0, own.Sel) << "nothing stored for no printer reads as 0";
        }
        param = Param(0, nullptr, nullptr, 0);
        EXPECT_EQ(S_OK, plugin->CommonUIProp(mode, &param));
        EXPECT_EQ(1u, param.cOEMOptItems) << "asked for its item count, the plug-in names one";
    }
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->CommonUIProp(OEMCUIP_DOCPROP, nullptr));
    OEMCUIPPARAM param = Param(0, nullptr, &own, 1);
    EXPECT_EQ(E_FAIL, plugin->CommonUIProp(3, &param));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileDocumentItems, CallbacksWithMissingOrDamagedRecords) {
    OPTITEM own = {};
    OPTITEM quality[2] = {};
    quality[0].cbSize = quality[1].cbSize = sizeof(OPTITEM);
    quality[0].DMPubID = 15;  // the quality switch
    quality[1].DMPubID = DMPUB_PRINTQUALITY;
    OemPrivateDevmode section = {{16, 0x5A56524E, 1}, 0x7FFFFFFF};
    for (DWORD mode : {(DWORD)OEMCUIP_DOCPROP, (DWORD)OEMCUIP_PRNPROP}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        OEMCUIPPARAM param = Param(2, quality, &own, 1);
        param.hPrinter = reinterpret_cast<HANDLE>(0x1234);
        param.pOEMDM = &section;
        ASSERT_EQ(S_OK, plugin->CommonUIProp(mode, &param));
        ASSERT_NE(nullptr, param.OEMCUIPCallback);
        CPSUICBPARAM callback = {};
        callback.cbSize = sizeof callback;
        for (WORD reason : {(WORD)CPSUICB_REASON_SEL_CHANGED, (WORD)CPSUICB_REASON_SETACTIVE,
                            (WORD)CPSUICB_REASON_APPLYNOW, (WORD)CPSUICB_REASON_KILLACTIVE, (WORD)0xFFFF}) {
            callback.Reason = reason;
            param.OEMCUIPCallback(&callback, &param);
            param.OEMCUIPCallback(nullptr, &param);
            param.OEMCUIPCallback(&callback, nullptr);
            OEMCUIPPARAM bare = Param(2, quality, nullptr, 0);  // no own item, no section
            bare.OEMCUIPCallback = param.OEMCUIPCallback;
            bare.OEMCUIPCallback(&callback, &bare);
        }
    }
    EXPECT_TRUE(ledger->Balanced());
}
