// The ink-level pictures of the maintenance page: which of the ten gauge steps a cartridge's
// counters give, and drawing that step's bitmap on the page's owner-drawn holder buttons.
#pragma once

#include <windows.h>

#include "core/ModelProfile.h"
#include "state/PrinterStateKey.h"

constexpr int kUnknownInkStep = 9;  // the question-mark picture

// Step 0 (empty) to 8 (full) for level / capacity in sixteenths rounded to eighths; 9 for a ratio
// of 17/16 and more, and for a capacity of 0.
int InkLevelStep(DWORD level, DWORD capacity);

// A set with every counter kInkLevelUnknown, to read into: ReadInkLevels leaves a counter it cannot
// read as it was, so a cartridge with any missing counter shows the question mark.
InkLevelSet UnknownInkLevels();

// How full a cartridge of `type` is: the step its picture shows (-1 for type 0 and unknown types, which
// show none) and the percent of a full cartridge its emptiest ink has left (0 to 100; 0 for step 9).
struct InkReading {
    int step;
    int percent;
};
InkReading ReadInkLevel(CartridgeType type, const InkLevelSet &levels);

// The bitmap id of the picture for a cartridge type, or 0 for type 0 and unknown types (no picture).
UINT InkLevelPictureId(CartridgeType type, const InkLevelSet &levels);

// Draws the picture of the holder of `buttonId` (1054 left, 1055 right) over the item rectangle,
// keyed on pure green, and sets that holder's caption; a reader on the button is told when the
// cartridge or its level differs from the last paint. False when nothing was drawn: the state cannot
// be read, the holder is empty, another id, or the picture cannot be loaded.
bool DrawInkLevelPicture(HWND page, LPCWSTR printerName, int buttonId, HDC dc, const RECT &item);
