#include "core/CartridgeRules.h"

#include "resources/ResourceIds.h"

namespace {

enum Group { kGroupEmpty, kGroupBlack, kGroupColour, kGroupPhoto, kGroupNone };

Group GroupOf(CartridgeType type) {
    switch (type) {
    case kCartNone: return kGroupEmpty;
    case kCartBlack:
    case kCartBlackHigh: return kGroupBlack;
    case kCartColour:
    case kCartColourHigh: return kGroupColour;
    case kCartPhoto: return kGroupPhoto;
    default: return kGroupNone;
    }
}

bool IsPair(Group a, Group b, Group x, Group y) { return (a == x && b == y) || (a == y && b == x); }

struct TypeInfo {
    const wchar_t *iniKey;
    UINT stringId;
    int pictureSet;
};

constexpr TypeInfo kTypes[kCartridgeTypeCount] = {
    {nullptr, IDS_NO_CARTRIDGE, -1},
    {L"CART_BLK", IDS_CART_BLACK, kInkSetBlack},
    {L"CART_PHO", IDS_CART_PHOTO, kInkSetPhoto},
    {L"CART_STD", IDS_CART_COLOUR, kInkSetColour},
    {L"CART_BLK2", IDS_CART_BLACK_HIGH, kInkSetBlack},
    {L"CART_STD2", IDS_CART_COLOUR_HIGH, kInkSetColour},
};

struct ComboInfo {
    const wchar_t *alignStem;
    const wchar_t *cleaningFile;
    const wchar_t *alignmentFile;
};

constexpr ComboInfo kComboFiles[] = {
    {L"AlignK_", L"cln1.out", L"alg1.out"},
    {L"AlignCMY_", L"cln3.out", L"alg3.out"},
    {L"AlignCMYK_", L"cln4.out", L"alg4.out"},
    {L"AlignCMYKcm_", L"cln6.out", L"alg6.out"},
};

// Combination 5 (and anything unexpected) uses the black-only names and files.
const ComboInfo &ComboFiles(CartridgeCombo combo) {
    return (combo >= 0 && combo < kComboRows) ? kComboFiles[combo] : kComboFiles[kComboBlackOnly];
}

}  // namespace

CartridgeCombo ClassifyCartridges(CartridgeType left, CartridgeType right) {
    const Group a = GroupOf(left), b = GroupOf(right);
    if (IsPair(a, b, kGroupEmpty, kGroupBlack)) return kComboBlackOnly;
    if (IsPair(a, b, kGroupColour, kGroupEmpty)) return kComboColourOnly;
    if (IsPair(a, b, kGroupColour, kGroupBlack)) return kComboBlackColour;
    if (IsPair(a, b, kGroupColour, kGroupPhoto)) return kComboColourPhoto;
    return kComboInvalid;
}

DWORD GetAlignValueCount(CartridgeType left, CartridgeType right, CartridgeCombo *combo) {
    const DWORD *counts = Model().alignCounts;

    const CartridgeCombo c = ClassifyCartridges(left, right);
    if (combo) *combo = c;
    // An invalid pair has no row of its own; it is treated like black only (same value names), one value.
    const DWORD count = (c >= 0 && c < kComboRows) ? counts[c] : 1;
    if (count > kMaxAlignValues) return kMaxAlignValues;
    if (count == 0) return 1;
    return count;
}

DWORD MinOfThree(DWORD a, DWORD b, DWORD c) {
    DWORD least = a;
    if (least >= b) least = b;
    if (least >= c) least = c;
    return least;
}

bool IsKnownCartridgeType(CartridgeType type) { return type >= 0 && type < kCartridgeTypeCount; }

const wchar_t *CartridgeIniKey(CartridgeType type) { return IsKnownCartridgeType(type) ? kTypes[type].iniKey : nullptr; }

UINT CartridgeNameStringId(CartridgeType type) {
    return IsKnownCartridgeType(type) ? kTypes[type].stringId : IDS_NO_CARTRIDGE;
}

int CartridgePictureSet(CartridgeType type) { return IsKnownCartridgeType(type) ? kTypes[type].pictureSet : -1; }

const wchar_t *AlignValueNameStem(CartridgeCombo combo) { return ComboFiles(combo).alignStem; }
const wchar_t *CleaningFileName(CartridgeCombo combo) { return ComboFiles(combo).cleaningFile; }
const wchar_t *AlignmentFileName(CartridgeCombo combo) { return ComboFiles(combo).alignmentFile; }
