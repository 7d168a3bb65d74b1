// The benchmark program's pieces: a clock, and one measurement per figure, each printing its own
// lines and returning whether it met its target.
#pragma once

#include <windows.h>

#include <string>

double NowSeconds();

struct Figure {
    std::string name;      // "P3 start"
    double measured;       // the ratio or time judged
    std::string unit;      // "x", "ms", "KB"
    std::string target;    // "<= 1.5", ...
    bool met;
};

void Report(const Figure &figure);
// Full path of a file beside the benchmark program.
std::wstring BesideProgram(const wchar_t *name);

// The figures, in the order they are printed.
bool BenchPagePaint();   // P1
bool BenchPrintJob();    // P2
bool BenchStart();       // P3
bool BenchScale();       // P4
