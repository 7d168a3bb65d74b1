// The benchmark program's pieces: a clock, and one measurement per figure, each printing its own
// lines and returning whether it met its target.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

double NowSeconds();
// The middle of the samples (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> samples);
// "x86" or "x64": the architecture this program (and the DLL beside it) was built for.
const char *ArchitectureName();

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
bool BenchPageShown();   // P5
bool BenchWizardPaint(); // P6
