#include "core/ModelProfile.h"

#include <strsafe.h>
#include <string.h>

#include "resources/ResourceIds.h"

namespace {

ModelProfile g_profile;

constexpr DWORD kInkCapacity[kCartridgeTypeCount] = {0, 610000000, 231000000, 550000000, 1100000000, 915000000};

constexpr DWORD kAlignCounts[kComboRows] = {0, 0, 6, 4};

constexpr LONG kAlignDefaults[kComboRows][kMaxAlignValues] = {
    {17, 0, 0, 0, 0, 0},
    {17, 0, 0, 0, 0, 0},
    {17, 6, 17, 17, 17, 17},
    {17, 6, 17, 17, 0, 0},
};

constexpr LONG kAlignLimits[kComboRows][2 * kMaxAlignValues] = {
    {0, 0, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, /**/ 30, 15, 30, 30, 30, 30},
    {0, 0, 0, 0, 0, 0, /**/ 30, 15, 30, 30, 0, 0},
};

constexpr UINT kInkLevelPictures[kInkSetCount][kInkLevelSteps] = {
    {IDB_INK_BLACK_0, IDB_INK_BLACK_1, IDB_INK_BLACK_2, IDB_INK_BLACK_3, IDB_INK_BLACK_4, IDB_INK_BLACK_5,
     IDB_INK_BLACK_6, IDB_INK_BLACK_7, IDB_INK_BLACK_8, IDB_INK_BLACK_9},
    {IDB_INK_COLOUR_0, IDB_INK_COLOUR_1, IDB_INK_COLOUR_2, IDB_INK_COLOUR_3, IDB_INK_COLOUR_4, IDB_INK_COLOUR_5,
     IDB_INK_COLOUR_6, IDB_INK_COLOUR_7, IDB_INK_COLOUR_8, IDB_INK_COLOUR_9},
    // The photo set's unknown level shares the colour picture.
    {IDB_INK_PHOTO_0, IDB_INK_PHOTO_1, IDB_INK_PHOTO_2, IDB_INK_PHOTO_3, IDB_INK_PHOTO_4, IDB_INK_PHOTO_5,
     IDB_INK_PHOTO_6, IDB_INK_PHOTO_7, IDB_INK_PHOTO_8, IDB_INK_COLOUR_9},
};

bool HasAlignRow(CartridgeCombo combo, int index) {
    return combo >= 0 && combo < kComboRows && index >= 0 && index < kMaxAlignValues;
}

}  // namespace

bool InitModelProfile(HINSTANCE module, DWORD reason) {
    if (reason != DLL_PROCESS_ATTACH) return true;

    g_profile.module = module;
    g_profile.holderCount = kHolderCount;
    memcpy(g_profile.inkCapacity, kInkCapacity, sizeof kInkCapacity);
    (void)StringCchCopyW(g_profile.prefix, ARRAYSIZE(g_profile.prefix), L"zvaa");  // fits: constant
    memcpy(g_profile.alignLimits, kAlignLimits, sizeof kAlignLimits);
    memcpy(g_profile.alignDefaults, kAlignDefaults, sizeof kAlignDefaults);
    memcpy(g_profile.alignCounts, kAlignCounts, sizeof kAlignCounts);
    g_profile.leftHolderMask = 0x28;
    g_profile.rightHolderMask = 0x16;
    g_profile.defaultLeft = kCartColour;
    g_profile.defaultRight = kCartBlack;
    memcpy(g_profile.inkLevelPictures, kInkLevelPictures, sizeof kInkLevelPictures);
    return true;
}

const ModelProfile &Model() { return g_profile; }

LONG AlignMinimum(CartridgeCombo combo, int index) {
    return HasAlignRow(combo, index) ? g_profile.alignLimits[combo][index] : 0;
}

LONG AlignMaximum(CartridgeCombo combo, int index) {
    return HasAlignRow(combo, index) ? g_profile.alignLimits[combo][kMaxAlignValues + index] : 0;
}
