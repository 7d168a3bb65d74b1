#include <gtest/gtest.h>

#include "core/ModelProfile.h"

namespace {

TEST(ModelProfile, FilledAtProcessAttach) {
    const ModelProfile &m = Model();
    EXPECT_EQ(GetModuleHandleW(nullptr), m.module);
    EXPECT_STREQ(L"zvaa", m.prefix);
    EXPECT_EQ(2u, m.holderCount);
    EXPECT_EQ(0x28u, m.leftHolderMask);
    EXPECT_EQ(0x16u, m.rightHolderMask);
    // Neither holder offers "no cartridge".
    EXPECT_EQ(0u, (m.leftHolderMask | m.rightHolderMask) & 0x01u);
    EXPECT_EQ(kCartColour, m.defaultLeft);
    EXPECT_EQ(kCartBlack, m.defaultRight);
    EXPECT_EQ(1100000000u, m.inkCapacity[kCartBlackHigh]);
    EXPECT_EQ(0u, m.inkCapacity[kCartNone]);
    // The photo set has no unknown-level picture of its own.
    EXPECT_EQ(138u, m.inkLevelPictures[kInkSetPhoto][9]);
    EXPECT_EQ(147u, m.inkLevelPictures[kInkSetPhoto][8]);
}

TEST(ModelProfile, OtherReasonsChangeNothing) {
    const HINSTANCE before = Model().module;
    for (DWORD reason : {DWORD(DLL_PROCESS_DETACH), DWORD(DLL_THREAD_ATTACH), DWORD(DLL_THREAD_DETACH)})
        EXPECT_TRUE(InitModelProfile(reinterpret_cast<HINSTANCE>(0x1234), reason));
    EXPECT_EQ(before, Model().module);
}

TEST(ModelProfile, AlignmentBoundsPerValue) {
    EXPECT_EQ(30, AlignMaximum(kComboBlackColour, 0));
    EXPECT_EQ(15, AlignMaximum(kComboBlackColour, 1));
    EXPECT_EQ(30, AlignMaximum(kComboBlackColour, 5));
    EXPECT_EQ(0, AlignMaximum(kComboColourPhoto, 4));
    EXPECT_EQ(0, AlignMinimum(kComboColourPhoto, 3));
    EXPECT_EQ(17, Model().alignDefaults[kComboColourPhoto][3]);
    EXPECT_EQ(6, Model().alignDefaults[kComboBlackColour][1]);
    // No row for the invalid pair or beyond the six values: nothing outside the tables is read.
    EXPECT_EQ(0, AlignMaximum(kComboInvalid, 0));
    EXPECT_EQ(0, AlignMaximum(CartridgeCombo(4), 0));
    EXPECT_EQ(0, AlignMaximum(kComboBlackColour, 6));
    EXPECT_EQ(0, AlignMinimum(kComboBlackColour, -1));
}

}  // namespace
