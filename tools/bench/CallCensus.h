// Counts the platform calls an operation makes, so that the bench can show that a figure's baseline
// makes the same calls as the plug-in: while a census is alive, the listed imports of the given
// modules go through counting stand-ins that call on to what the modules called before.
//
// The compiler may load an import's address once and keep it for the rest of a function: keep each
// census in a function of its own (CENSUS_FUNCTION), so that no code after it calls a stand-in whose
// census is gone.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class ImportPatch;

#define CENSUS_FUNCTION __attribute__((noinline))

class CallCensus {
public:
    // Patches the counted imports of each module (the bench program, and the DLL where the plug-in
    // is called through it).
    explicit CallCensus(std::vector<HMODULE> modules);
    ~CallCensus();
    CallCensus(const CallCensus &) = delete;
    CallCensus &operator=(const CallCensus &) = delete;

    // Starts counting afresh.
    void Reset();
    // The counts since the last Reset, one per counted function.
    std::vector<long> Counts() const;
    // "OpenPrinterW 4, RegOpenKeyExW 4, ..." for the functions called at least once.
    static std::string Describe(const std::vector<long> &counts);

private:
    std::vector<std::unique_ptr<ImportPatch>> m_patches;
};
