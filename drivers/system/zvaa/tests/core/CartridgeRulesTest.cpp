#include <gtest/gtest.h>

#include "core/CartridgeRules.h"

namespace {

// The whole classification, left type down, right type across.
constexpr LONG kExpected[6][6] = {
    {5, 0, 5, 1, 0, 1},
    {0, 5, 5, 2, 5, 2},
    {5, 5, 5, 3, 5, 3},
    {1, 2, 3, 5, 2, 5},
    {0, 5, 5, 2, 5, 2},
    {1, 2, 3, 5, 2, 5},
};

TEST(ClassifyCartridges, EveryPairOfKnownTypes) {
    for (LONG left = 0; left < 6; ++left)
        for (LONG right = 0; right < 6; ++right)
            EXPECT_EQ(kExpected[left][right], ClassifyCartridges(CartridgeType(left), CartridgeType(right)))
                << "pair " << left << ", " << right;
}

TEST(ClassifyCartridges, TypesOutsideTheKnownRangeAreInvalid) {
    for (LONG other : {0L, 1L, 2L, 3L, 4L, 5L}) {
        for (LONG odd : {-1L, 6L, 7L, 0x7FFFFFFFL, (LONG)0x80000000}) {
            EXPECT_EQ(kComboInvalid, ClassifyCartridges(CartridgeType(odd), CartridgeType(other)));
            EXPECT_EQ(kComboInvalid, ClassifyCartridges(CartridgeType(other), CartridgeType(odd)));
        }
    }
}

TEST(GetAlignValueCount, CountsAreClampedIntoOneToSix) {
    struct Case { LONG left, right; DWORD count; CartridgeCombo combo; };
    const Case cases[] = {
        {0, 1, 1, kComboBlackOnly},   // table entry 0 becomes 1
        {3, 0, 1, kComboColourOnly},
        {3, 1, 6, kComboBlackColour},
        {5, 4, 6, kComboBlackColour},
        {3, 2, 4, kComboColourPhoto},
        {0, 0, 1, kComboInvalid},     // an invalid pair holds one value, named like black only
        {9, 1, 1, kComboInvalid},
    };
    for (const Case &c : cases) {
        CartridgeCombo combo = CartridgeCombo(-1);
        EXPECT_EQ(c.count, GetAlignValueCount(CartridgeType(c.left), CartridgeType(c.right), &combo))
            << c.left << ", " << c.right;
        EXPECT_EQ(c.combo, combo) << c.left << ", " << c.right;
    }
}

TEST(MinOfThree, ComparesUnsigned) {
    EXPECT_EQ(3u, MinOfThree(5, 3, 4));
    EXPECT_EQ(2u, MinOfThree(2, 2, 9));
    EXPECT_EQ(1u, MinOfThree(7, 8, 1));
    EXPECT_EQ(0u, MinOfThree(0, 0, 0));
    // A value with the top bit set is the largest, not a negative one.
    EXPECT_EQ(5u, MinOfThree(0x80000000u, 5, 0xFFFFFFFFu));
    EXPECT_EQ(0x80000000u, MinOfThree(0xFFFFFFFFu, 0x80000000u, 0x80000001u));
}

TEST(CartridgeTypeTables, NamesAndPicturesOfEachType) {
    EXPECT_EQ(nullptr, CartridgeIniKey(kCartNone));
    EXPECT_STREQ(L"CART_BLK", CartridgeIniKey(kCartBlack));
    EXPECT_STREQ(L"CART_PHO", CartridgeIniKey(kCartPhoto));
    EXPECT_STREQ(L"CART_STD", CartridgeIniKey(kCartColour));
    EXPECT_STREQ(L"CART_BLK2", CartridgeIniKey(kCartBlackHigh));
    EXPECT_STREQ(L"CART_STD2", CartridgeIniKey(kCartColourHigh));

    const UINT ids[6] = {23, 13, 15, 11, 14, 12};
    for (LONG t = 0; t < 6; ++t) EXPECT_EQ(ids[t], CartridgeNameStringId(CartridgeType(t)));

    // A damaged stored type reads as "no cartridge" and indexes nothing.
    for (LONG odd : {-1L, 6L, 1000L}) {
        EXPECT_EQ(nullptr, CartridgeIniKey(CartridgeType(odd)));
        EXPECT_EQ(23u, CartridgeNameStringId(CartridgeType(odd)));
        EXPECT_EQ(-1, CartridgePictureSet(CartridgeType(odd)));
    }
    EXPECT_EQ(kInkSetBlack, CartridgePictureSet(kCartBlackHigh));
    EXPECT_EQ(kInkSetColour, CartridgePictureSet(kCartColourHigh));
    EXPECT_EQ(kInkSetPhoto, CartridgePictureSet(kCartPhoto));
}

TEST(CombinationTables, FilesAndValueNamesPerCombination) {
    EXPECT_STREQ(L"AlignK_", AlignValueNameStem(kComboBlackOnly));
    EXPECT_STREQ(L"AlignCMY_", AlignValueNameStem(kComboColourOnly));
    EXPECT_STREQ(L"AlignCMYK_", AlignValueNameStem(kComboBlackColour));
    EXPECT_STREQ(L"AlignCMYKcm_", AlignValueNameStem(kComboColourPhoto));
    EXPECT_STREQ(L"cln6.out", CleaningFileName(kComboColourPhoto));
    EXPECT_STREQ(L"alg4.out", AlignmentFileName(kComboBlackColour));
    // The invalid pair falls back on the black-only names and files.
    EXPECT_STREQ(L"AlignK_", AlignValueNameStem(kComboInvalid));
    EXPECT_STREQ(L"cln1.out", CleaningFileName(kComboInvalid));
    EXPECT_STREQ(L"alg1.out", AlignmentFileName(kComboInvalid));
    EXPECT_STREQ(L"alg1.out", AlignmentFileName(CartridgeCombo(4)));
    EXPECT_STREQ(L"alg1.out", AlignmentFileName(CartridgeCombo(-3)));
}

}  // namespace
