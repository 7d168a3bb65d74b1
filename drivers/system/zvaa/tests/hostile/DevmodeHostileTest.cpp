// The plug-in's devmode section as a damaged devmode or a careless driver hands it over: input sections
// whose size field says 0, 1, 15, 17 or anything up to 4 GB, foreign signatures, output buffers of every
// size up to the section's 16 bytes and beyond, missing buffers. Sections lie against an inaccessible
// page, so neither a read nor a write may pass them.
#include <gtest/gtest.h>

#include <string.h>

#include "core/OemPrivateDevmode.h"
#include "hostile/GuardedBlock.h"
#include "hostile/HostilePlugin.h"

namespace {

constexpr DWORD kSignature = 0x5A56524E;

struct HostileDevmode : HostilePlugin {
    HRESULT Call(DWORD mode, const void *in, void *out, DWORD outBytes) {
        OEMDMPARAM param = {};
        param.cbSize = sizeof param;
        param.pOEMDMIn = const_cast<void *>(in);
        param.pOEMDMOut = out;
        param.cbBufSize = outBytes;
        return plugin->DevMode(mode, &param);
    }
    // An output section as the driver keeps it: the plug-in's defaults.
    void Default(GuardedBlock &out) { ASSERT_EQ(S_OK, Call(OEMDM_DEFAULT, nullptr, out.data(), 16)); }
    static void ExpectSaneHeader(const OemPrivateDevmode &section) {
        EXPECT_EQ(16u, section.header.dwSize);
        EXPECT_EQ(kSignature, section.header.dwSignature);
        EXPECT_EQ(1u, section.header.dwVersion);
    }
};

}  // namespace

TEST_F(HostileDevmode, InputSizesThatLieGiveAWholeValueOrNone) {
    const DWORD sizes[] = {0, 1, 12, 13, 15, 16, 17, 0x1000, 0x7FFFFFFF, 0xFFFFFFFF};
    for (DWORD mode : {(DWORD)OEMDM_CONVERT, (DWORD)OEMDM_MERGE}) {
        for (DWORD size : sizes) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", input size field " << size);
            GuardedBlock in(16);
            auto *section = in.as<OemPrivateDevmode>();
            section->header = {size, kSignature, 1};
            // Bytes of a value that the section's size does not cover are not part of it.
            section->OemUiValue = 0x01000042;
            GuardedBlock out(16);
            Default(out);
            EXPECT_EQ(S_OK, Call(mode, in.data(), out.data(), 16));
            const auto &result = *out.as<OemPrivateDevmode>();
            ExpectSaneHeader(result);
            if (size < 16) {
                EXPECT_EQ(0, result.OemUiValue) << "a part of a value was taken over";
            }

            section->OemUiValue = 42;
            Default(out);
            EXPECT_EQ(S_OK, Call(mode, in.data(), out.data(), 16));
            EXPECT_EQ(size >= 16 ? 42 : 0, out.as<OemPrivateDevmode>()->OemUiValue);
            EXPECT_EQ(size, section->header.dwSize) << "the input is the driver's and stays as it was";
        }
    }
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileDevmode, ForeignOrDamagedSectionsAreReplacedByDefaults) {
    GuardedBlock in(16, 0xFF);  // a section of someone else, or garbage
    GuardedBlock out(16, 0xEE);
    EXPECT_EQ(S_OK, Call(OEMDM_MERGE, in.data(), out.data(), 16));
    ExpectSaneHeader(*out.as<OemPrivateDevmode>());
    EXPECT_EQ(0, out.as<OemPrivateDevmode>()->OemUiValue);

    // A section of ours with a value out of its range.
    auto *section = in.as<OemPrivateDevmode>();
    section->header = {16, kSignature, 1};
    section->OemUiValue = 0x7FFFFFFF;
    Default(out);
    EXPECT_EQ(S_OK, Call(OEMDM_MERGE, in.data(), out.data(), 16));
    EXPECT_EQ(0, out.as<OemPrivateDevmode>()->OemUiValue);
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileDevmode, OutputBuffersOfEverySize) {
    GuardedBlock in(16);
    *in.as<OemPrivateDevmode>() = {{16, kSignature, 1}, 7};
    for (DWORD room : {0u, 1u, 15u}) {
        SCOPED_TRACE(testing::Message() << room << " bytes of output");
        GuardedBlock out(room ? room : 1, 0xAB);
        for (DWORD mode : {(DWORD)OEMDM_DEFAULT, (DWORD)OEMDM_CONVERT, (DWORD)OEMDM_MERGE}) {
            SetLastError(0);
            EXPECT_EQ(E_FAIL, Call(mode, in.data(), out.data(), room));
            EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
        }
        for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(0xAB, out.data()[i]) << "byte " << i << " written";
    }
    // More room than the section needs: the section is written, nothing after it.
    for (DWORD room : {17u, 4096u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(testing::Message() << room << " bytes of output said");
        GuardedBlock out(32, 0xAB);
        ASSERT_EQ(S_OK, Call(OEMDM_DEFAULT, nullptr, out.data(), room));
        EXPECT_EQ(S_OK, Call(OEMDM_MERGE, in.data(), out.data(), room));
        EXPECT_EQ(7, out.as<OemPrivateDevmode>()->OemUiValue);
        for (size_t i = 16; i < out.size(); ++i) EXPECT_EQ(0xAB, out.data()[i]) << "byte " << i << " written";
    }
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileDevmode, MissingRecordsAndSectionsAndUnknownModes) {
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->DevMode(OEMDM_MERGE, nullptr));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
    GuardedBlock out(16);
    for (DWORD mode : {0u, 5u, 0x80000000u, 0xFFFFFFFFu}) {
        SetLastError(0);
        EXPECT_EQ(E_FAIL, Call(mode, nullptr, out.data(), 16)) << "mode " << mode;
        EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
    }
    // No input, no output, or neither: a defined answer and no fault.
    EXPECT_EQ(E_FAIL, Call(OEMDM_DEFAULT, nullptr, nullptr, 16));
    EXPECT_EQ(S_OK, Call(OEMDM_CONVERT, nullptr, out.data(), 16));
    EXPECT_EQ(S_OK, Call(OEMDM_MERGE, out.data(), nullptr, 0));
    EXPECT_EQ(S_OK, Call(OEMDM_MERGE, nullptr, nullptr, 0));
    OEMDMPARAM size = {};
    EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_SIZE, &size));
    EXPECT_EQ(16u, size.cbBufSize);
    EXPECT_TRUE(ledger->Balanced());
}
