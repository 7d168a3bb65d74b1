// The room of every text buffer of the plug-in: printer names, strings of the module, captions and
// the browser's path, each 259 characters and the terminator.
#pragma once

#include <windows.h>

constexpr int kTextChars = MAX_PATH;
