// What a screen reader hears of a control, asked as a reader asks (AccessibleObjectFromWindow on the
// control's client area), and which static text names a field of a dialog template.
#pragma once

#include <windows.h>

#include <string>

#include "testbed/DialogTemplate.h"

struct Heard {
    HRESULT hr = E_FAIL;
    std::wstring name, value, description, roleText;
    LONG role = 0;
};

Heard HearControl(HWND control);

// The label a reader gives the edit or combo box at `index` of the template: the nearest static text
// before it in window order, as long as no tab stop comes between; empty when there is none.
std::wstring FieldLabel(const DialogTemplateInfo &dialog, size_t index);
bool IsField(const TemplateItem &item);
