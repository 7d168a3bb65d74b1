// Which gauge picture a cartridge's counters give: the rounding of the step rule at its edges, the
// counter that decides for a three-ink cartridge, the photo set's borrowed question mark, and the
// holders that get no picture.
#include <gtest/gtest.h>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "ui/InkLevelPicture.h"

namespace {

constexpr DWORD kColourFull = 550000000;
constexpr DWORD kBlackFull = 610000000;
constexpr DWORD kPhotoFull = 231000000;

InkLevelSet FullSet() {
    InkLevelSet set = UnknownInkLevels();
    const DWORD full[kInkLevelCount] = {610000000, 1100000000, 550000000, 915000000, 550000000, 915000000,
                                        550000000, 915000000,  231000000, 231000000, 231000000};
    for (int i = 0; i < kInkLevelCount; ++i) set.counters[i] = full[i];
    return set;
}

TEST(InkLevelStep, RoundsEighthsAtTheSixteenths) {
    EXPECT_EQ(8, InkLevelStep(kColourFull, kColourFull));
    EXPECT_EQ(0, InkLevelStep(0, kColourFull));
    EXPECT_EQ(1, InkLevelStep(kColourFull / 16, kColourFull));      // exactly 1/16 rounds up
    EXPECT_EQ(0, InkLevelStep(kColourFull / 16 - 1, kColourFull));  // just below stays empty
    EXPECT_EQ(4, InkLevelStep(kColourFull / 2, kColourFull));
    EXPECT_EQ(9, InkLevelStep(kColourFull / 16 * 17, kColourFull));  // 17/16: the question mark
    EXPECT_EQ(8, InkLevelStep(kColourFull / 16 * 17 - 1, kColourFull));
    EXPECT_EQ(9, InkLevelStep(0xFFFFFFFFu, kPhotoFull));  // far above: capped at 9
    EXPECT_EQ(9, InkLevelStep(0, 0));                     // no capacity: cannot be told
}

TEST(InkLevelPicture, FullAndEmptyCartridgesOfEachSet) {
    InkLevelSet set = FullSet();
    EXPECT_EQ(IDB_INK_BLACK_FIRST + 8u, InkLevelPictureId(kCartBlack, set));
    EXPECT_EQ(IDB_INK_BLACK_FIRST + 8u, InkLevelPictureId(kCartBlackHigh, set));
    EXPECT_EQ(IDB_INK_COLOUR_FIRST + 8u, InkLevelPictureId(kCartColour, set));
    EXPECT_EQ(IDB_INK_COLOUR_FIRST + 8u, InkLevelPictureId(kCartColourHigh, set));
    EXPECT_EQ(IDB_INK_PHOTO_FIRST + 8u, InkLevelPictureId(kCartPhoto, set));

    set.counters[kInkLevelK] = 0;
    EXPECT_EQ(IDB_INK_BLACK_FIRST + 0u, InkLevelPictureId(kCartBlack, set));
    EXPECT_EQ(IDB_INK_BLACK_FIRST + 8u, InkLevelPictureId(kCartBlackHigh, set));  // its own counter, LevelK2
    set.counters[kInkLevelK] = kBlackFull / 16;
    EXPECT_EQ(IDB_INK_BLACK_FIRST + 1u, InkLevelPictureId(kCartBlack, set));
}

TEST(InkLevelPicture, SmallestOfThreeCountersDecides) {
    InkLevelSet set = FullSet();
    set.counters[kInkLevelY] = 0;
    EXPECT_EQ(IDB_INK_COLOUR_FIRST + 0u, InkLevelPictureId(kCartColour, set));
    EXPECT_EQ(IDB_INK_COLOUR_FIRST + 8u, InkLevelPictureId(kCartColourHigh, set));
    set.counters[kInkLevelM2] = 915000000 / 2;
    set.counters[kInkLevelC2] = 915000000 / 4;  // 2/8, the least of the high-capacity three
    EXPECT_EQ(IDB_INK_COLOUR_FIRST + 2u, InkLevelPictureId(kCartColourHigh, set));
    set.counters[kInkLevelPhotoC] = kPhotoFull / 2;
    EXPECT_EQ(IDB_INK_PHOTO_FIRST + 4u, InkLevelPictureId(kCartPhoto, set));
}

TEST(InkLevelPicture, PhotoQuestionMarkComesFromTheColourSet) {
    InkLevelSet set = FullSet();
    for (int i : {kInkLevelPhotoK, kInkLevelPhotoC, kInkLevelPhotoM}) set.counters[i] = kPhotoFull / 16 * 17;
    EXPECT_EQ(IDB_INK_COLOUR_FIRST + 9u, InkLevelPictureId(kCartPhoto, set));
    EXPECT_EQ(138u, InkLevelPictureId(kCartPhoto, set));
}

TEST(InkLevelPicture, AMissingCounterShowsTheQuestionMark) {
    InkLevelSet set = FullSet();
    set.counters[kInkLevelM] = kInkLevelUnknown;  // left as UnknownInkLevels() set it
    EXPECT_EQ(IDB_INK_COLOUR_FIRST + 9u, InkLevelPictureId(kCartColour, set));
    set.counters[kInkLevelK] = kInkLevelUnknown;
    EXPECT_EQ(IDB_INK_BLACK_FIRST + 9u, InkLevelPictureId(kCartBlack, set));
}

TEST(InkLevelPicture, NoCartridgeAndUnknownTypesHaveNoPicture) {
    const InkLevelSet set = FullSet();
    EXPECT_EQ(0u, InkLevelPictureId(kCartNone, set));
    EXPECT_EQ(0u, InkLevelPictureId(CartridgeType(6), set));
    EXPECT_EQ(0u, InkLevelPictureId(CartridgeType(-1), set));
}

}  // namespace
