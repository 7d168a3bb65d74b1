// A component of the printer software that links zvaaSUI.dll through its import library and
// public header, as the setup program and print-time components do.
#include <gtest/gtest.h>

#include "zvaaSUI.h"

TEST(LinkedComponent, CallsTheModelExportsThroughTheImportLibrary) {
    WCHAR prefix[8] = {};
    EXPECT_EQ(prefix, GetOEMPrefix(prefix));
    EXPECT_STREQ(L"zvaa", prefix);

    DWORD counts[4] = {9, 9, 9, 9};
    OEMGetNumAlignValues(counts);
    EXPECT_EQ(6u, counts[2]);

    BYTE command[5] = {0, 0, 0, 0, 0xCC};
    EXPECT_EQ(4, OEMEjectPageCmd(command));
    EXPECT_EQ(0xCC, command[4]);
}
