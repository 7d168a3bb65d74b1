// Gives a control of a dialog its own accessible object (ui/AccessibleObject.h): the control answers a
// reader's WM_GETOBJECT with it, made on the first question, and lets it go with its window. Until a
// reader asks, nothing is loaded or made.
#pragma once

#include <windows.h>

#include "ui/AccessibleObject.h"

// For WM_INITDIALOG: from now on a reader hears `describe`'s answers for the control (null: no
// control, nothing done). `context` must outlive the window.
void SpeakFor(HWND control, DescribeControl describe, const void *context);

// For a repaint of the control: when what it shows now differs from what it showed at its last paint
// (the keys stand for its name and its value), a reader on it is told that its name or value changed.
void NoteShown(HWND control, DWORD nameKey, DWORD valueKey);
