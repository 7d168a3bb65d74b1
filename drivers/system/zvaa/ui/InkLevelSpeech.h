// What a screen reader hears of the two ink-level pictures of the maintenance page: the holder and
// its cartridge as the caption under the picture names them, and the level in words.
#pragma once

#include <windows.h>

#include "ui/AccessibleObject.h"

// The describer of picture 1054 or 1055 (the page keeps the printer name as 1054's window text):
//   name   the holder's label and the cartridge's name ("Vänster bläckpatron: FÄRG art.nr. ZV30C01",
//          "... Ingen bläckpatron" for an empty holder; the label alone when the state cannot be read)
//   value  the percent left, "Nästan tom, ..." for the pictures with the warning sign, "Tom, ..." for
//          the empty one, "Bläcknivån kan inte avläsas" for the question mark and an unreadable
//          state; none for an empty holder
//   role   a picture: pressing it does nothing
// Read from the printer's state at every question.
bool DescribeInkLevelPicture(HWND button, const void *context, SpokenControl *spoken);
