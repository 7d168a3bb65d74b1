// What a screen reader hears of a control, asked as a reader asks: AccessibleObjectFromWindow on the
// control's client area.
#pragma once

#include <windows.h>

#include <string>

struct Heard {
    std::wstring name, value, description, roleText;
    LONG role = 0;
};

Heard HearControl(HWND control);
