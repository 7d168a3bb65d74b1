// The one printer model this plug-in serves: its file prefix, cartridge holders and types, ink
// capacities, alignment tables and ink-level pictures. Filled once at process attach, read-only after.
#pragma once

#include <windows.h>

// A cartridge type as the state key stores it (a 4-byte number). A damaged key may hold any other
// number, which the type holds as it is.
enum CartridgeType : LONG {
    kCartNone = 0,
    kCartBlack = 1,
    kCartPhoto = 2,
    kCartColour = 3,
    kCartBlackHigh = 4,
    kCartColourHigh = 5,
};
constexpr int kCartridgeTypeCount = 6;

// The combination a pair of cartridge types makes.
enum CartridgeCombo : LONG {
    kComboBlackOnly = 0,
    kComboColourOnly = 1,
    kComboBlackColour = 2,
    kComboColourPhoto = 3,
    kComboInvalid = 5,  // 4 is never produced
};
// The state key stores both as 4-byte numbers, exactly as they are held here.
static_assert(sizeof(CartridgeType) == 4 && sizeof(CartridgeCombo) == 4, "stored as 4-byte values");

constexpr int kComboRows = 4;          // the alignment tables have rows for combinations 0 to 3
constexpr int kMaxAlignValues = 6;     // room every caller holds for alignment values
constexpr int kInkLevelSteps = 10;     // 0 empty .. 8 full, 9 unknown
constexpr int kHolderCount = 2;

enum InkPictureSet { kInkSetBlack = 0, kInkSetColour = 1, kInkSetPhoto = 2, kInkSetCount = 3 };

struct ModelProfile {
    HINSTANCE module;
    WCHAR prefix[MAX_PATH];
    DWORD holderCount;
    DWORD inkCapacity[kCartridgeTypeCount];  // by CartridgeType; type 0 has none
    DWORD alignCounts[kComboRows];
    LONG alignDefaults[kComboRows][kMaxAlignValues];
    LONG alignLimits[kComboRows][2 * kMaxAlignValues];  // six minimums, then six maximums
    DWORD leftHolderMask;
    DWORD rightHolderMask;
    CartridgeType defaultLeft;
    CartridgeType defaultRight;
    UINT inkLevelPictures[kInkSetCount][kInkLevelSteps];
};

// Fills the profile on DLL_PROCESS_ATTACH; every reason returns true.
bool InitModelProfile(HINSTANCE module, DWORD reason);

const ModelProfile &Model();

// Bounds of alignment value `index` of a combination's row; combinations without a row (5) and
// indexes outside 0..5 get the bounds 0..0.
LONG AlignMinimum(CartridgeCombo combo, int index);
LONG AlignMaximum(CartridgeCombo combo, int index);
