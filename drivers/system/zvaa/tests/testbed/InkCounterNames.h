// The names of the eleven ink counters of a printer's state key, in their stored order, for programs
// that must not link the plug-in's code (black-box tests read and write the key by these names).
#pragma once

constexpr int kInkCounterCount = 11;
extern const wchar_t *const kInkCounterNames[kInkCounterCount];
