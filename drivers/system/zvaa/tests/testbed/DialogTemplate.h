// Reads a dialog template from a module's resources as the resource compiler stored it, so tests can
// compare ids, classes, styles, positions, texts and fonts with what the dialogs must have.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TemplateItem {
    DWORD id = 0;               // 0xFFFFFFFF (extended) or 0xFFFF (plain) for "no id"
    std::wstring className;     // "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" or the name given
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplateInfo {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring face;
    std::vector<TemplateItem> items;

    const TemplateItem *Find(DWORD id) const;
    bool IsNoId(DWORD id) const { return extended ? id == 0xFFFFFFFF : id == 0xFFFF; }
};

bool ReadDialogTemplate(HMODULE module, UINT id, DialogTemplateInfo *out);
