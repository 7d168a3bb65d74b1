#include "testbed/InkCounterNames.h"

const wchar_t *const kInkCounterNames[kInkCounterCount] = {
    L"LevelK", L"LevelK2", L"LevelC",      L"LevelC2",     L"LevelM",     L"LevelM2",
    L"LevelY", L"LevelY2", L"LevelPhotoK", L"LevelPhotoC", L"LevelPhotoM"};
