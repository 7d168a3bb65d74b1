// zvaa_bench: runs each measurement side by side with its baseline in one process and prints the
// figures with their targets. Absolute times are printed for reference; only the figures are judged.
#include "Bench.h"

#include <stdio.h>
#include <strsafe.h>

#include <algorithm>

#include "core/ModelProfile.h"

double NowSeconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

double Median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

const char *ArchitectureName() { return sizeof(void *) == 8 ? "x64" : "x86"; }

void Report(const Figure &f) {
    printf("%-34s %10.3f %-3s target %-10s %s\n", f.name.c_str(), f.measured, f.unit.c_str(), f.target.c_str(),
           f.met ? "met" : "MISSED");
    fflush(stdout);
}

std::wstring BesideProgram(const wchar_t *name) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return name;
    wchar_t *slash = wcsrchr(path, L'\\');
    if (slash) slash[1] = L'\0';
    (void)StringCchCatW(path, MAX_PATH, name);
    return path;
}

int main() {
    printf("zvaa_bench (%s)\n", ArchitectureName());
    InitModelProfile(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH);
    bool allMet = true;
    allMet &= BenchPagePaint();
    allMet &= BenchPrintJob();
    allMet &= BenchStart();
    allMet &= BenchScale();
    allMet &= BenchPageShown();
    allMet &= BenchWizardPaint();
    printf("%s\n", allMet ? "all targets met" : "some targets missed");
    return allMet ? 0 : 1;
}
