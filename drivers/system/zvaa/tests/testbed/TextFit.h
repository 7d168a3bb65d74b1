// Whether the texts of a dialog fit their controls: every visible static text, push button, radio
// button, check box and group box is measured with the control's own font against its client area, as
// the platform lays it out (a multi-line static wraps at its width; a button's text starts after its
// glyph), and the title against the caption bar.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TextMisfit {
    int id = 0;               // control id (0xFFFF for statics without one), 0 for the title
    std::wstring text;
    SIZE needed = {};         // what the text takes, in pixels, inside the control's text area
    SIZE room = {};           // what the control gives it
    int oneLine = 0;          // the text's width on one line
};

// The controls (and the title, for a top-level window) whose text does not fit.
std::vector<TextMisfit> FindTextMisfits(HWND dialog);

// One line per misfit, for a failure message.
std::string DescribeMisfits(const std::vector<TextMisfit> &misfits);
