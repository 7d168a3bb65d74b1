#include "ui/InkLevelPicture.h"

#include "core/CartridgeRules.h"
#include "core/Owned.h"
#include "resources/ResourceIds.h"
#include "ui/AccessibleControl.h"
#include "ui/CartridgeCaption.h"
#include "ui/KeyedBitmap.h"

namespace {

// Which counters of the ink level set a cartridge type drains; the smallest decides its picture.
struct TypeCounters {
    int count;
    int index[3];
};

TypeCounters CountersOf(CartridgeType type) {
    switch (type) {
    case kCartBlack: return {1, {kInkLevelK, 0, 0}};
    case kCartBlackHigh: return {1, {kInkLevelK2, 0, 0}};
    case kCartColour: return {3, {kInkLevelC, kInkLevelM, kInkLevelY}};
    case kCartColourHigh: return {3, {kInkLevelC2, kInkLevelM2, kInkLevelY2}};
    case kCartPhoto: return {3, {kInkLevelPhotoK, kInkLevelPhotoC, kInkLevelPhotoM}};
    default: return {0, {0, 0, 0}};
    }
}

}  // namespace

int InkLevelStep(DWORD level, DWORD capacity) {
    if (capacity == 0) return kUnknownInkStep;
    const int step = static_cast<int>(static_cast<double>(level) * 8.0 / static_cast<double>(capacity) + 0.5);
    return step > kUnknownInkStep ? kUnknownInkStep : step;
}

InkLevelSet UnknownInkLevels() {
    InkLevelSet levels;
    for (DWORD &counter : levels.counters) counter = kInkLevelUnknown;
    return levels;
}

InkReading ReadInkLevel(CartridgeType type, const InkLevelSet &levels) {
    const TypeCounters counters = CountersOf(type);
    const int set = CartridgePictureSet(type);
    if (counters.count == 0 || set < 0 || set >= kInkSetCount) return {-1, 0};

    bool missing = false;
    DWORD level = levels.counters[counters.index[0]];
    for (int i = 0; i < counters.count; ++i) {
        const DWORD counter = levels.counters[counters.index[i]];
        missing = missing || counter == kInkLevelUnknown;
        if (counter < level) level = counter;
    }
    const DWORD capacity = Model().inkCapacity[type];
    const int step = missing ? kUnknownInkStep : InkLevelStep(level, capacity);
    if (step == kUnknownInkStep) return {step, 0};
    const double percent = static_cast<double>(level) * 100.0 / static_cast<double>(capacity) + 0.5;
    return {step, percent > 100.0 ? 100 : static_cast<int>(percent)};
}

UINT InkLevelPictureId(CartridgeType type, const InkLevelSet &levels) {
    const InkReading reading = ReadInkLevel(type, levels);
    return reading.step < 0 ? 0 : Model().inkLevelPictures[CartridgePictureSet(type)][reading.step];
}

bool DrawInkLevelPicture(HWND page, LPCWSTR printerName, int buttonId, HDC dc, const RECT &item) {
    CartridgeType left = kCartNone, right = kCartNone;
    InkLevelSet levels = UnknownInkLevels();
    if (!ReadCartridges(printerName, &left, &right) || !ReadInkLevels(printerName, &levels)) return false;

    CartridgeType type;
    int captionId;
    if (buttonId == IDC_LEFT_INK) {
        type = left;
        captionId = IDC_LEFT_TYPE;
    } else if (buttonId == IDC_RIGHT_INK) {
        type = right;
        captionId = IDC_RIGHT_TYPE;
    } else {
        return false;
    }
    SetCartridgeCaption(page, printerName, captionId, type);
    const InkReading reading = ReadInkLevel(type, levels);
    NoteShown(GetDlgItem(page, buttonId), static_cast<DWORD>(type), MAKELONG(reading.percent, reading.step));

    const UINT pictureId = InkLevelPictureId(type, levels);
    if (pictureId == 0) return false;

    const ResourceBitmapDc picture(dc, Model().module, pictureId);
    if (!picture) return false;
    DrawKeyedBitmap(dc, 0, 0, item.right, item.bottom, picture.dc(), 0, 0, picture.width(), picture.height(),
                    kPictureKeyColour);
    return true;
}
