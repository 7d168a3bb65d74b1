#include "core/ModelProfile.h"

#include <strsafe.h>
#include <string.h>

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
    {119, 120, 121, 122, 123, 124, 125, 126, 127, 128},
    {129, 130, 131, 132, 133, 134, 135, 136, 137, 138},
    {139, 140, 141, 142, 143, 144, 145, 146, 147, 138},  // unknown level shares the colour picture
};

bool HasAlignRow(CartridgeCombo combo, int index) {
    return combo >= 0 && combo < kComboRows && index >= 0 && index < kMaxAlignValues;
}

}  // namespace

BOOL InitModelProfile(HINSTANCE module, DWORD reason) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;

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
    return TRUE;
}

const ModelProfile &Model() { return g_profile; }

LONG AlignMinimum(CartridgeCombo combo, int index) {
    return HasAlignRow(combo, index) ? g_profile.alignLimits[combo][index] : 0;
}

LONG AlignMaximum(CartridgeCombo combo, int index) {
    return HasAlignRow(combo, index) ? g_profile.alignLimits[combo][kMaxAlignValues + index] : 0;
}
