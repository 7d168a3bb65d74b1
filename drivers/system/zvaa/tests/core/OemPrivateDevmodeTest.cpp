#include <gtest/gtest.h>

#include <string.h>

#include "core/OemPrivateDevmode.h"

namespace {

OemPrivateDevmode Section(DWORD size, DWORD signature, DWORD version, LONG value) {
    OemPrivateDevmode s;
    s.header.dwSize = size;
    s.header.dwSignature = signature;
    s.header.dwVersion = version;
    s.OemUiValue = value;
    return s;
}

OEMDMPARAM Param(void *in, void *out, DWORD cbOut = sizeof(OemPrivateDevmode)) {
    OEMDMPARAM p = {};
    p.cbSize = sizeof p;
    p.pOEMDMIn = in;
    p.pOEMDMOut = out;
    p.cbBufSize = cbOut;
    return p;
}

constexpr DWORD kSig = 0x5A56524E;

TEST(OemDevMode, SizeAndDefaultBytes) {
    OEMDMPARAM p = Param(nullptr, nullptr, 0);
    ASSERT_EQ(S_OK, OemDevMode(OEMDM_SIZE, &p));
    EXPECT_EQ(16u, p.cbBufSize);

    BYTE out[20];
    memset(out, 0xAB, sizeof out);
    p = Param(nullptr, out, 16);
    ASSERT_EQ(S_OK, OemDevMode(OEMDM_DEFAULT, &p));
    const BYTE expected[16] = {0x10, 0, 0, 0, 0x4E, 0x52, 0x56, 0x5A, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, memcmp(expected, out, 16));
    EXPECT_EQ(0xAB, out[16]);  // nothing past the section
}

TEST(OemDevMode, BadModeOrParameterFails) {
    OemPrivateDevmode out = Section(16, kSig, 1, 7);
    OEMDMPARAM p = Param(nullptr, &out);
    for (DWORD mode : {0u, 5u, 0xFFFFFFFFu}) {
        SetLastError(0);
        EXPECT_EQ(E_FAIL, OemDevMode(mode, &p));
        EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
    }
    SetLastError(0);
    EXPECT_EQ(E_FAIL, OemDevMode(OEMDM_SIZE, nullptr));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
    EXPECT_EQ(7, out.OemUiValue);
}

TEST(OemDevMode, DefaultWithoutOutputSectionFailsWithoutWriting) {
    OEMDMPARAM p = Param(nullptr, nullptr, 16);
    SetLastError(0);
    EXPECT_EQ(E_FAIL, OemDevMode(OEMDM_DEFAULT, &p));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
}

TEST(OemDevMode, OutputBufferSmallerThanTheSectionIsNotWritten) {
    BYTE out[16];
    memset(out, 0xCD, sizeof out);
    OemPrivateDevmode in = Section(16, kSig, 1, 42);
    for (DWORD mode : {DWORD(OEMDM_DEFAULT), DWORD(OEMDM_CONVERT), DWORD(OEMDM_MERGE)}) {
        OEMDMPARAM p = Param(&in, out, 15);
        SetLastError(0);
        EXPECT_EQ(E_FAIL, OemDevMode(mode, &p));
        EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
        for (BYTE b : out) ASSERT_EQ(0xCD, b);
    }
}

TEST(OemDevMode, ConvertCarriesOurOwnSectionOver) {
    OemPrivateDevmode in = Section(16, kSig, 7, 42);
    OemPrivateDevmode out = Section(16, kSig, 1, 0);
    OEMDMPARAM p = Param(&in, &out);
    ASSERT_EQ(S_OK, OemDevMode(OEMDM_CONVERT, &p));
    EXPECT_EQ(42, out.OemUiValue);
    EXPECT_EQ(16u, out.header.dwSize);
    EXPECT_EQ(1u, out.header.dwVersion);  // whatever version the input had
    EXPECT_EQ(kSig, out.header.dwSignature);
}

TEST(OemDevMode, ConvertCopiesNoMoreThanTheSmallerSection) {
    // An older, shorter section has no value: the value starts at 0.
    OemPrivateDevmode in = Section(12, kSig, 1, 42);
    OemPrivateDevmode out = Section(16, kSig, 1, 99);
    EXPECT_TRUE(ConvertOemDevmode(&in, &out));
    EXPECT_EQ(0, out.OemUiValue);
    EXPECT_EQ(16u, out.header.dwSize);

    // An input claiming more than 16 bytes still fills only the 16 of the output.
    struct { OemPrivateDevmode s; BYTE tail[8]; } big;
    big.s = Section(24, kSig, 1, 55);
    memset(big.tail, 0xEE, sizeof big.tail);
    struct { OemPrivateDevmode s; BYTE guard[8]; } target;
    target.s = Section(16, kSig, 1, 0);
    memset(target.guard, 0x11, sizeof target.guard);
    EXPECT_TRUE(ConvertOemDevmode(&big.s, &target.s));
    EXPECT_EQ(55, target.s.OemUiValue);
    for (BYTE b : target.guard) ASSERT_EQ(0x11, b);

    // The output's own size field counts too: an output claiming 12 bytes gets no value.
    in = Section(16, kSig, 1, 42);
    out = Section(12, kSig, 1, 5);
    EXPECT_TRUE(ConvertOemDevmode(&in, &out));
    EXPECT_EQ(0, out.OemUiValue);
    EXPECT_EQ(16u, out.header.dwSize);
}

TEST(OemDevMode, ForeignSectionIsNotCopied) {
    OemPrivateDevmode in = Section(16, 0x12345678, 3, 42);
    OemPrivateDevmode out = Section(16, kSig, 1, 9);
    OEMDMPARAM p = Param(&in, &out);
    ASSERT_EQ(S_OK, OemDevMode(OEMDM_CONVERT, &p));
    EXPECT_EQ(0, out.OemUiValue);
    EXPECT_EQ(kSig, out.header.dwSignature);
    EXPECT_EQ(16u, out.header.dwSize);
    EXPECT_EQ(1u, out.header.dwVersion);

    // Signatures are compared with the output's current content, not the constant.
    in = Section(16, 0x11111111, 1, 42);
    out = Section(16, 0x11111111, 1, 0);
    EXPECT_TRUE(ConvertOemDevmode(&in, &out));
    EXPECT_EQ(42, out.OemUiValue);
    EXPECT_EQ(0x11111111u, out.header.dwSignature);
}

TEST(OemDevMode, MergeKeepsTheValueWithinZeroToHundred) {
    struct Case { LONG in, out; };
    const Case cases[] = {{101, 0}, {100, 100}, {0, 0}, {-1, -1}, {0x7FFFFFFF, 0}};
    for (const Case &c : cases) {
        OemPrivateDevmode in = Section(16, kSig, 1, c.in);
        OemPrivateDevmode out = Section(16, kSig, 1, 0);
        OEMDMPARAM p = Param(&in, &out);
        ASSERT_EQ(S_OK, OemDevMode(OEMDM_MERGE, &p));
        EXPECT_EQ(c.out, out.OemUiValue) << "input " << c.in;
        EXPECT_EQ(kSig, out.header.dwSignature);
    }
    // A merged foreign section comes out as ours with the default value.
    OemPrivateDevmode in = Section(16, 0xDEADBEEF, 1, 50);
    OemPrivateDevmode out = Section(16, 0xCAFEF00D, 9, 50);
    OEMDMPARAM p = Param(&in, &out);
    ASSERT_EQ(S_OK, OemDevMode(OEMDM_MERGE, &p));
    EXPECT_EQ(kSig, out.header.dwSignature);
    EXPECT_EQ(1u, out.header.dwVersion);
    EXPECT_EQ(0, out.OemUiValue);
}

TEST(OemDevMode, MissingSectionsInConvertAndMergeWriteNothingButSucceed) {
    OemPrivateDevmode out = Section(3, 0x01020304, 9, 500);
    const OemPrivateDevmode before = out;
    OemPrivateDevmode in = Section(16, kSig, 1, 42);
    for (DWORD mode : {DWORD(OEMDM_CONVERT), DWORD(OEMDM_MERGE)}) {
        OEMDMPARAM p = Param(nullptr, &out);
        EXPECT_EQ(S_OK, OemDevMode(mode, &p));
        EXPECT_EQ(0, memcmp(&before, &out, sizeof out));
        p = Param(&in, nullptr);
        EXPECT_EQ(S_OK, OemDevMode(mode, &p));
    }
    EXPECT_FALSE(ConvertOemDevmode(nullptr, &out));
    EXPECT_FALSE(ValidateOemDevmode(nullptr));
}

}  // namespace
