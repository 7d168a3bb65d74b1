// What a screen reader hears of a control whose window text does not say what it shows (owner-drawn
// pictures and header bands): an accessible object that answers name, value, role and description
// itself, asked anew each time, and leaves everything else to the platform's standard object.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include "core/TextBuffers.h"

struct SpokenControl {
    WCHAR name[kTextChars];
    WCHAR value[kTextChars];
    WCHAR description[2 * kTextChars];
    LONG role;  // 0: the platform's
};

// Fills what a reader hears of `control`; an empty field (or false) leaves the platform's answer.
typedef bool (*DescribeControl)(HWND control, const void *context, SpokenControl *spoken);

// A new object for the control's client area with one reference, or null when the platform's
// accessibility library cannot be loaded (it is loaded here, on a reader's first question, and held
// by the object). `context` must outlive the window.
IAccessible *CreateControlAccessible(HWND control, DescribeControl describe, const void *context);

// The answer to WM_GETOBJECT for the object: positive, or 0 or a negative error code when it cannot be
// handed over.
LRESULT AccessibleObjectResult(IAccessible *object, WPARAM wParam);

// The window is going: the object lets go of the standard object and its clients, and answers
// nothing more for the window.
void DisconnectControlAccessible(IAccessible *object);

// Objects alive; the library's code must stay loaded while any client holds one.
LONG LiveAccessibleObjects();
