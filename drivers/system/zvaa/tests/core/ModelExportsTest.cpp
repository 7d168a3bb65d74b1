#include <gtest/gtest.h>

#include <string>

#include <string.h>

#include "testbed/ImportPatch.h"
#include "zvaaSUI.h"

namespace {

TEST(ModelExports, PrefixIsCopiedAndTheBufferReturned) {
    WCHAR buffer[8];
    wmemset(buffer, L'#', 8);
    EXPECT_EQ(buffer, GetOEMPrefix(buffer));
    EXPECT_STREQ(L"zvaa", buffer);
    EXPECT_EQ(L'#', buffer[5]);  // exactly the prefix and its terminator
}

TEST(ModelExports, AlignmentCountsAreTheTableUnclamped) {
    DWORD counts[5] = {9, 9, 9, 9, 0xABCD};
    OEMGetNumAlignValues(counts);
    EXPECT_EQ(0u, counts[0]);
    EXPECT_EQ(0u, counts[1]);
    EXPECT_EQ(6u, counts[2]);
    EXPECT_EQ(4u, counts[3]);
    EXPECT_EQ(0xABCDu, counts[4]);
}

TEST(ModelExports, EjectPageCommandIsFourBytesWithoutTerminator) {
    BYTE command[6] = {0, 0, 0, 0, 0x5A, 0x5A};
    EXPECT_EQ(4, OEMEjectPageCmd(command));
    const BYTE expected[4] = {0x1B, 0x2A, 0x07, 0x65};
    EXPECT_EQ(0, memcmp(expected, command, 4));
    EXPECT_EQ(0x5A, command[4]);
}

TEST(ModelExports, ColorDataLibraryPathIsInTheDriverFilesFolder) {
    char path[MAX_PATH * 2];
    memset(path, 'x', sizeof path);
    EXPECT_EQ(1, GetColorDataDLLPath(path));
    // The spooler's driver folder of this architecture (w32x86 or x64), then the version folder.
    char folder[MAX_PATH];
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(folder), sizeof folder, &needed));
    EXPECT_EQ(std::string(folder) + "\\3\\zvsdclr1.dll", path);
}

BOOL WINAPI NoDriverDirectory(LPWSTR, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD) {
    SetLastError(ERROR_INVALID_ENVIRONMENT);
    return FALSE;
}

BOOL WINAPI OverlongDriverDirectory(LPWSTR, LPWSTR, DWORD, LPBYTE dir, DWORD cb, LPDWORD needed) {
    // A directory that fills the whole buffer: the library's name can no longer be appended.
    const DWORD count = cb / sizeof(WCHAR);
    auto *text = reinterpret_cast<WCHAR *>(dir);
    for (DWORD i = 0; i + 1 < count; ++i) text[i] = L'd';
    text[count - 1] = 0;
    *needed = cb;
    return TRUE;
}

TEST(ModelExports, ColorDataLibraryPathIsEmptyWithoutADriverDirectory) {
    for (const void *fake : {reinterpret_cast<const void *>(&NoDriverDirectory),
                             reinterpret_cast<const void *>(&OverlongDriverDirectory)}) {
        ImportPatch patch(GetModuleHandleW(nullptr), "winspool.drv", "GetPrinterDriverDirectoryW", fake);
        ASSERT_GT(patch.slots(), 0u);
        char path[MAX_PATH * 2];
        memset(path, 'x', sizeof path);
        EXPECT_EQ(1, GetColorDataDLLPath(path));
        EXPECT_STREQ("", path);
    }
}

}  // namespace
