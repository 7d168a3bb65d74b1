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

namespace {

// With names on the command line (P1 ... P6), only those figures run.
bool Wanted(int argc, char **argv, const char *figure) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
        if (_stricmp(argv[i], figure) == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char **argv) {
    InitModelProfile(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH);
    printf("zvaa_bench (%s)\n", ArchitectureName());
    struct Measurement {
        const char *figure;
        bool (*run)();
    };
    const Measurement measurements[] = {{"P1", BenchPagePaint}, {"P2", BenchPrintJob},  {"P3", BenchStart},
                                        {"P4", BenchScale},     {"P5", BenchPageShown}, {"P6", BenchWizardPaint}};
    bool allMet = true;
    for (const Measurement &m : measurements)
        if (Wanted(argc, argv, m.figure)) allMet &= m.run();
    printf("%s\n", allMet ? "all targets met" : "some targets missed");
    return allMet ? 0 : 1;
}
