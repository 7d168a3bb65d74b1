// Counts what a module acquires and releases on the ledger's own thread while it is alive (other threads
// of the process are not counted): registry keys, printer handles,
// find handles, kernel handles (files, processes, threads), and heap, global and local blocks (C runtime
// blocks on request). It replaces the module's imports (ImportPatch) with counting stand-ins that call on to what
// the module called before, so it stacks with failure-injecting patches made before or after it.
//
//   HandleLedger ledger(HandleLedger::ProgramModule());   // or the LoadLibraryW handle of the DLL
//   ReadCartridges(name, &left, &right);
//   EXPECT_TRUE(ledger.Balanced());                       // its message lists what stayed open
//
// In a unit program the module is the program itself, so everything the test body calls through the
// program's import table counts too: keep helpers (PrinterEnvironment, ...) outside the ledger's life,
// or call Reset() just before the operation under test. One ledger at a time.
//
// More kinds (device contexts, fonts, bitmaps): add stand-ins with Hook() that report through
// NoteAcquired/NoteReleased, e.g.
//   static decltype(&CreateFontIndirectW) realFont;
//   HFONT WINAPI CountedFont(const LOGFONTW *lf) {
//       HFONT f = realFont(lf);
//       HandleLedger::NoteAcquired(LedgerKind::kGdiObject, f);
//       return f;
//   }
//   ledger.Hook("gdi32.dll", "CreateFontIndirectW", &CountedFont, &realFont);
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "testbed/ImportPatch.h"

namespace LedgerKind {
constexpr char kRegistryKey[] = "registry key";
constexpr char kPrinter[] = "printer handle";
constexpr char kFind[] = "find handle";
constexpr char kKernelHandle[] = "kernel handle";  // CreateFile, CreateProcess ... closed by CloseHandle
constexpr char kHeapBlock[] = "heap block";
constexpr char kGlobalBlock[] = "global block";
constexpr char kLocalBlock[] = "local block";
constexpr char kCrtBlock[] = "C runtime block";
// Reserved for the kinds that later stand-ins add.
constexpr char kDeviceContext[] = "device context";
constexpr char kGdiObject[] = "GDI object";
}  // namespace LedgerKind

class HandleLedger {
public:
    // Patches the standard set of imports of `module`.
    explicit HandleLedger(HMODULE module);
    ~HandleLedger();
    HandleLedger(const HandleLedger &) = delete;
    HandleLedger &operator=(const HandleLedger &) = delete;

    // The running program (for code linked from the static library).
    static HMODULE ProgramModule() { return GetModuleHandleW(nullptr); }

    // Counts malloc/calloc/realloc/free too. Meant for the DLL: in a unit program the test framework
    // itself allocates through the same imports between the operation and the check.
    void TrackCrtBlocks();

    // Replaces one more import; *original receives what the module called before, for the stand-in
    // to call on to. Restored with the ledger.
    template <typename F> void Hook(const char *dll, const char *function, F standIn, F *original) {
        HookImport(dll, function, reinterpret_cast<const void *>(standIn), reinterpret_cast<void **>(original));
    }

    // Reports from stand-ins; nothing happens while no ledger is alive. A release of something the
    // ledger did not see acquired is kept as a foreign release (a double close, or closing a
    // handle that belongs to someone else).
    static void NoteAcquired(const char *kind, const void *handle);
    static void NoteReleased(const char *kind, const void *handle);

    // Forgets everything counted so far.
    void Reset();
    size_t Acquired(const char *kind) const;
    size_t Released(const char *kind) const;
    size_t StillOpen(const char *kind) const;
    // Nothing open and nothing foreign released; the failure message says what.
    testing::AssertionResult Balanced() const;

private:
    void HookImport(const char *dll, const char *function, const void *standIn, void **original);
    void Acquire(const char *kind, const void *handle);
    void Release(const char *kind, const void *handle);

    HMODULE m_module;
    std::vector<std::unique_ptr<ImportPatch>> m_patches;
    std::map<std::pair<std::string, const void *>, int> m_open;
    std::map<std::string, size_t> m_acquired, m_released;
    std::vector<std::pair<std::string, const void *>> m_foreign;
};
