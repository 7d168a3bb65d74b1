#include "support/HandleLedger.h"

#include <winspool.h>
#include <stdlib.h>

#include <sstream>

namespace {

HandleLedger *g_ledger = nullptr;
// The thread that made the ledger: only its calls are counted. Other threads meet the same imports (a
// thread that Wine starts in the process after CreateProcess runs the program's thread-start code
// through them), and their blocks are not the operation's; the flag below is the owner's alone.
DWORD g_owner = 0;
// Set while the ledger's own bookkeeping runs: its maps allocate through the very imports it counts.
bool g_busy = false;

bool IsPredefinedKey(HKEY key) { return (ULONG_PTR)key >= 0x80000000u && (ULONG_PTR)key < 0x80000010u; }

// What each import was before the ledger replaced it.
decltype(&RegOpenKeyExW) realRegOpenKeyExW;
decltype(&RegOpenKeyExA) realRegOpenKeyExA;
decltype(&RegCreateKeyExW) realRegCreateKeyExW;
decltype(&RegCreateKeyExA) realRegCreateKeyExA;
decltype(&RegOpenKeyW) realRegOpenKeyW;
decltype(&RegCreateKeyW) realRegCreateKeyW;
decltype(&RegCloseKey) realRegCloseKey;
decltype(&OpenPrinterW) realOpenPrinterW;
decltype(&OpenPrinterA) realOpenPrinterA;
decltype(&AddPrinterW) realAddPrinterW;
decltype(&ClosePrinter) realClosePrinter;
decltype(&FindFirstFileW) realFindFirstFileW;
decltype(&FindFirstFileA) realFindFirstFileA;
decltype(&FindFirstFileExW) realFindFirstFileExW;
decltype(&FindClose) realFindClose;
decltype(&CreateFileW) realCreateFileW;
decltype(&CreateFileA) realCreateFileA;
decltype(&CreateProcessW) realCreateProcessW;
decltype(&CreateProcessA) realCreateProcessA;
decltype(&CloseHandle) realCloseHandle;
decltype(&HeapAlloc) realHeapAlloc;
decltype(&HeapReAlloc) realHeapReAlloc;
decltype(&HeapFree) realHeapFree;
decltype(&GlobalAlloc) realGlobalAlloc;
decltype(&GlobalReAlloc) realGlobalReAlloc;
decltype(&GlobalFree) realGlobalFree;
decltype(&LocalAlloc) realLocalAlloc;
decltype(&LocalReAlloc) realLocalReAlloc;
decltype(&LocalFree) realLocalFree;
void *(__cdecl *realMalloc)(size_t);
void *(__cdecl *realCalloc)(size_t, size_t);
void *(__cdecl *realRealloc)(void *, size_t);
void(__cdecl *realFree)(void *);

using K = HandleLedger;
namespace Kind = LedgerKind;

LSTATUS WINAPI CountRegOpenKeyExW(HKEY root, LPCWSTR path, DWORD options, REGSAM sam, PHKEY out) {
    const LSTATUS status = realRegOpenKeyExW(root, path, options, sam, out);
    if (status == ERROR_SUCCESS && out) K::NoteAcquired(Kind::kRegistryKey, *out);
    return status;
}
LSTATUS WINAPI CountRegOpenKeyExA(HKEY root, LPCSTR path, DWORD options, REGSAM sam, PHKEY out) {
    const LSTATUS status = realRegOpenKeyExA(root, path, options, sam, out);
    if (status == ERROR_SUCCESS && out) K::NoteAcquired(Kind::kRegistryKey, *out);
    return status;
}
LSTATUS WINAPI CountRegCreateKeyExW(HKEY root, LPCWSTR path, DWORD reserved, LPWSTR cls, DWORD options, REGSAM sam,
                                    const LPSECURITY_ATTRIBUTES security, PHKEY out, LPDWORD disposition) {
    const LSTATUS status = realRegCreateKeyExW(root, path, reserved, cls, options, sam, security, out, disposition);
    if (status == ERROR_SUCCESS && out) K::NoteAcquired(Kind::kRegistryKey, *out);
    return status;
}
LSTATUS WINAPI CountRegCreateKeyExA(HKEY root, LPCSTR path, DWORD reserved, LPSTR cls, DWORD options, REGSAM sam,
                                    const LPSECURITY_ATTRIBUTES security, PHKEY out, LPDWORD disposition) {
    const LSTATUS status = realRegCreateKeyExA(root, path, reserved, cls, options, sam, security, out, disposition);
    if (status == ERROR_SUCCESS && out) K::NoteAcquired(Kind::kRegistryKey, *out);
    return status;
}
LSTATUS WINAPI CountRegOpenKeyW(HKEY root, LPCWSTR path, PHKEY out) {
    const LSTATUS status = realRegOpenKeyW(root, path, out);
    if (status == ERROR_SUCCESS && out) K::NoteAcquired(Kind::kRegistryKey, *out);
    return status;
}
LSTATUS WINAPI CountRegCreateKeyW(HKEY root, LPCWSTR path, PHKEY out) {
    const LSTATUS status = realRegCreateKeyW(root, path, out);
    if (status == ERROR_SUCCESS && out) K::NoteAcquired(Kind::kRegistryKey, *out);
    return status;
}
LSTATUS WINAPI CountRegCloseKey(HKEY key) {
    if (!IsPredefinedKey(key)) K::NoteReleased(Kind::kRegistryKey, key);
    return realRegCloseKey(key);
}

BOOL WINAPI CountOpenPrinterW(LPWSTR name, LPHANDLE out, LPPRINTER_DEFAULTSW defaults) {
    const BOOL ok = realOpenPrinterW(name, out, defaults);
    if (ok && out) K::NoteAcquired(Kind::kPrinter, *out);
    return ok;
}
BOOL WINAPI CountOpenPrinterA(LPSTR name, LPHANDLE out, LPPRINTER_DEFAULTSA defaults) {
    const BOOL ok = realOpenPrinterA(name, out, defaults);
    if (ok && out) K::NoteAcquired(Kind::kPrinter, *out);
    return ok;
}
HANDLE WINAPI CountAddPrinterW(LPWSTR server, DWORD level, LPBYTE info) {
    HANDLE printer = realAddPrinterW(server, level, info);
    if (printer) K::NoteAcquired(Kind::kPrinter, printer);
    return printer;
}
BOOL WINAPI CountClosePrinter(HANDLE printer) {
    K::NoteReleased(Kind::kPrinter, printer);
    return realClosePrinter(printer);
}

HANDLE WINAPI CountFindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    HANDLE find = realFindFirstFileW(pattern, data);
    if (find != INVALID_HANDLE_VALUE) K::NoteAcquired(Kind::kFind, find);
    return find;
}
HANDLE WINAPI CountFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    HANDLE find = realFindFirstFileA(pattern, data);
    if (find != INVALID_HANDLE_VALUE) K::NoteAcquired(Kind::kFind, find);
    return find;
}
HANDLE WINAPI CountFindFirstFileExW(LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID data, FINDEX_SEARCH_OPS op,
                                    LPVOID filter, DWORD flags) {
    HANDLE find = realFindFirstFileExW(pattern, level, data, op, filter, flags);
    if (find != INVALID_HANDLE_VALUE) K::NoteAcquired(Kind::kFind, find);
    return find;
}
BOOL WINAPI CountFindClose(HANDLE find) {
    K::NoteReleased(Kind::kFind, find);
    return realFindClose(find);
}

HANDLE WINAPI CountCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templ) {
    HANDLE file = realCreateFileW(name, access, share, security, disposition, flags, templ);
    if (file != INVALID_HANDLE_VALUE) K::NoteAcquired(Kind::kKernelHandle, file);
    return file;
}
HANDLE WINAPI CountCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templ) {
    HANDLE file = realCreateFileA(name, access, share, security, disposition, flags, templ);
    if (file != INVALID_HANDLE_VALUE) K::NoteAcquired(Kind::kKernelHandle, file);
    return file;
}
BOOL WINAPI CountCreateProcessW(LPCWSTR app, LPWSTR cmd, LPSECURITY_ATTRIBUTES pa, LPSECURITY_ATTRIBUTES ta,
                                BOOL inherit, DWORD flags, LPVOID env, LPCWSTR dir, LPSTARTUPINFOW si,
                                LPPROCESS_INFORMATION pi) {
    const BOOL ok = realCreateProcessW(app, cmd, pa, ta, inherit, flags, env, dir, si, pi);
    if (ok && pi) {
        K::NoteAcquired(Kind::kKernelHandle, pi->hProcess);
        K::NoteAcquired(Kind::kKernelHandle, pi->hThread);
    }
    return ok;
}
BOOL WINAPI CountCreateProcessA(LPCSTR app, LPSTR cmd, LPSECURITY_ATTRIBUTES pa, LPSECURITY_ATTRIBUTES ta,
                                BOOL inherit, DWORD flags, LPVOID env, LPCSTR dir, LPSTARTUPINFOA si,
                                LPPROCESS_INFORMATION pi) {
    const BOOL ok = realCreateProcessA(app, cmd, pa, ta, inherit, flags, env, dir, si, pi);
    if (ok && pi) {
        K::NoteAcquired(Kind::kKernelHandle, pi->hProcess);
        K::NoteAcquired(Kind::kKernelHandle, pi->hThread);
    }
    return ok;
}
BOOL WINAPI CountCloseHandle(HANDLE handle) {
    K::NoteReleased(Kind::kKernelHandle, handle);
    return realCloseHandle(handle);
}

LPVOID WINAPI CountHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
    LPVOID block = realHeapAlloc(heap, flags, size);
    if (block) K::NoteAcquired(Kind::kHeapBlock, block);
    return block;
}
LPVOID WINAPI CountHeapReAlloc(HANDLE heap, DWORD flags, LPVOID old, SIZE_T size) {
    LPVOID block = realHeapReAlloc(heap, flags, old, size);
    if (block) {
        K::NoteReleased(Kind::kHeapBlock, old);
        K::NoteAcquired(Kind::kHeapBlock, block);
    }
    return block;
}
BOOL WINAPI CountHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
    if (block) K::NoteReleased(Kind::kHeapBlock, block);
    return realHeapFree(heap, flags, block);
}
HGLOBAL WINAPI CountGlobalAlloc(UINT flags, SIZE_T size) {
    HGLOBAL block = realGlobalAlloc(flags, size);
    if (block) K::NoteAcquired(Kind::kGlobalBlock, block);
    return block;
}
HGLOBAL WINAPI CountGlobalReAlloc(HGLOBAL old, SIZE_T size, UINT flags) {
    HGLOBAL block = realGlobalReAlloc(old, size, flags);
    if (block && block != old) {
        K::NoteReleased(Kind::kGlobalBlock, old);
        K::NoteAcquired(Kind::kGlobalBlock, block);
    }
    return block;
}
HGLOBAL WINAPI CountGlobalFree(HGLOBAL block) {
    if (block) K::NoteReleased(Kind::kGlobalBlock, block);
    return realGlobalFree(block);
}
HLOCAL WINAPI CountLocalAlloc(UINT flags, SIZE_T size) {
    HLOCAL block = realLocalAlloc(flags, size);
    if (block) K::NoteAcquired(Kind::kLocalBlock, block);
    return block;
}
HLOCAL WINAPI CountLocalReAlloc(HLOCAL old, SIZE_T size, UINT flags) {
    HLOCAL block = realLocalReAlloc(old, size, flags);
    if (block && block != old) {
        K::NoteReleased(Kind::kLocalBlock, old);
        K::NoteAcquired(Kind::kLocalBlock, block);
    }
    return block;
}
HLOCAL WINAPI CountLocalFree(HLOCAL block) {
    if (block) K::NoteReleased(Kind::kLocalBlock, block);
    return realLocalFree(block);
}

void *__cdecl CountMalloc(size_t size) {
    void *block = realMalloc(size);
    if (block) K::NoteAcquired(Kind::kCrtBlock, block);
    return block;
}
void *__cdecl CountCalloc(size_t count, size_t size) {
    void *block = realCalloc(count, size);
    if (block) K::NoteAcquired(Kind::kCrtBlock, block);
    return block;
}
void *__cdecl CountRealloc(void *old, size_t size) {
    void *block = realRealloc(old, size);
    if (block || size == 0) {
        if (old) K::NoteReleased(Kind::kCrtBlock, old);
        if (block) K::NoteAcquired(Kind::kCrtBlock, block);
    }
    return block;
}
void __cdecl CountFree(void *block) {
    if (block) K::NoteReleased(Kind::kCrtBlock, block);
    realFree(block);
}

}  // namespace

HandleLedger::HandleLedger(HMODULE module) : m_module(module) {
    g_owner = GetCurrentThreadId();
    g_ledger = this;
    Hook("advapi32.dll", "RegOpenKeyExW", &CountRegOpenKeyExW, &realRegOpenKeyExW);
    Hook("advapi32.dll", "RegOpenKeyExA", &CountRegOpenKeyExA, &realRegOpenKeyExA);
    Hook("advapi32.dll", "RegCreateKeyExW", &CountRegCreateKeyExW, &realRegCreateKeyExW);
    Hook("advapi32.dll", "RegCreateKeyExA", &CountRegCreateKeyExA, &realRegCreateKeyExA);
    Hook("advapi32.dll", "RegOpenKeyW", &CountRegOpenKeyW, &realRegOpenKeyW);
    Hook("advapi32.dll", "RegCreateKeyW", &CountRegCreateKeyW, &realRegCreateKeyW);
    Hook("advapi32.dll", "RegCloseKey", &CountRegCloseKey, &realRegCloseKey);
    Hook("winspool.drv", "OpenPrinterW", &CountOpenPrinterW, &realOpenPrinterW);
    Hook("winspool.drv", "OpenPrinterA", &CountOpenPrinterA, &realOpenPrinterA);
    Hook("winspool.drv", "AddPrinterW", &CountAddPrinterW, &realAddPrinterW);
    Hook("winspool.drv", "ClosePrinter", &CountClosePrinter, &realClosePrinter);
    Hook("kernel32.dll", "FindFirstFileW", &CountFindFirstFileW, &realFindFirstFileW);
    Hook("kernel32.dll", "FindFirstFileA", &CountFindFirstFileA, &realFindFirstFileA);
    Hook("kernel32.dll", "FindFirstFileExW", &CountFindFirstFileExW, &realFindFirstFileExW);
    Hook("kernel32.dll", "FindClose", &CountFindClose, &realFindClose);
    Hook("kernel32.dll", "CreateFileW", &CountCreateFileW, &realCreateFileW);
    Hook("kernel32.dll", "CreateFileA", &CountCreateFileA, &realCreateFileA);
    Hook("kernel32.dll", "CreateProcessW", &CountCreateProcessW, &realCreateProcessW);
    Hook("kernel32.dll", "CreateProcessA", &CountCreateProcessA, &realCreateProcessA);
    Hook("kernel32.dll", "CloseHandle", &CountCloseHandle, &realCloseHandle);
    Hook("kernel32.dll", "HeapAlloc", &CountHeapAlloc, &realHeapAlloc);
    Hook("kernel32.dll", "HeapReAlloc", &CountHeapReAlloc, &realHeapReAlloc);
    Hook("kernel32.dll", "HeapFree", &CountHeapFree, &realHeapFree);
    Hook("kernel32.dll", "GlobalAlloc", &CountGlobalAlloc, &realGlobalAlloc);
    Hook("kernel32.dll", "GlobalReAlloc", &CountGlobalReAlloc, &realGlobalReAlloc);
    Hook("kernel32.dll", "GlobalFree", &CountGlobalFree, &realGlobalFree);
    Hook("kernel32.dll", "LocalAlloc", &CountLocalAlloc, &realLocalAlloc);
    Hook("kernel32.dll", "LocalReAlloc", &CountLocalReAlloc, &realLocalReAlloc);
    Hook("kernel32.dll", "LocalFree", &CountLocalFree, &realLocalFree);
}

void HandleLedger::TrackCrtBlocks() {
    Hook("msvcrt.dll", "malloc", &CountMalloc, &realMalloc);
    Hook("msvcrt.dll", "calloc", &CountCalloc, &realCalloc);
    Hook("msvcrt.dll", "realloc", &CountRealloc, &realRealloc);
    Hook("msvcrt.dll", "free", &CountFree, &realFree);
}

HandleLedger::~HandleLedger() {
    g_busy = true;
    // Restored in reverse, so that a slot hooked twice ends with what it held first.
    while (!m_patches.empty()) m_patches.pop_back();
    if (g_ledger == this) g_ledger = nullptr;
    g_busy = false;
}

void HandleLedger::HookImport(const char *dll, const char *function, const void *standIn, void **original) {
    const bool wasBusy = g_busy;
    g_busy = true;  // the patch list allocates through the imports being counted
    // The stand-in may run while the slot is being replaced (malloc replacing itself), so it gets the
    // exported function first and what the slot held once the patch is in.
    HMODULE exporter = GetModuleHandleA(dll);
    if (exporter) *original = reinterpret_cast<void *>(GetProcAddress(exporter, function));
    m_patches.reserve(m_patches.size() + 1);
    ImportPatch *patch = new ImportPatch(m_module, dll, function, standIn);
    m_patches.emplace_back(patch);
    if (patch->slots()) *original = patch->original<void *>();
    g_busy = wasBusy;
}

void HandleLedger::NoteAcquired(const char *kind, const void *handle) {
    if (!g_ledger || GetCurrentThreadId() != g_owner || g_busy) return;
    g_busy = true;
    g_ledger->Acquire(kind, handle);
    g_busy = false;
}

void HandleLedger::NoteReleased(const char *kind, const void *handle) {
    if (!g_ledger || GetCurrentThreadId() != g_owner || g_busy) return;
    g_busy = true;
    g_ledger->Release(kind, handle);
    g_busy = false;
}

void HandleLedger::Acquire(const char *kind, const void *handle) {
    ++m_open[{kind, handle}];
    ++m_acquired[kind];
}

void HandleLedger::Release(const char *kind, const void *handle) {
    ++m_released[kind];
    auto it = m_open.find({kind, handle});
    if (it == m_open.end()) {
        m_foreign.emplace_back(kind, handle);
        return;
    }
    if (--it->second == 0) m_open.erase(it);
}

void HandleLedger::Reset() {
    g_busy = true;
    m_open.clear();
    m_acquired.clear();
    m_released.clear();
    m_foreign.clear();
    g_busy = false;
}

size_t HandleLedger::Acquired(const char *kind) const {
    auto it = m_acquired.find(kind);
    return it == m_acquired.end() ? 0 : it->second;
}

size_t HandleLedger::Released(const char *kind) const {
    auto it = m_released.find(kind);
    return it == m_released.end() ? 0 : it->second;
}

size_t HandleLedger::StillOpen(const char *kind) const {
    size_t open = 0;
    for (const auto &entry : m_open)
        if (entry.first.first == kind) open += entry.second;
    return open;
}

testing::AssertionResult HandleLedger::Balanced() const {
    g_busy = true;
    testing::AssertionResult result = testing::AssertionSuccess();
    if (!m_open.empty() || !m_foreign.empty()) {
        std::ostringstream text;
        for (const auto &entry : m_open)
            text << "still open: " << entry.first.first << " " << entry.first.second << " (x" << entry.second << ")\n";
        for (const auto &entry : m_foreign)
            text << "released without being acquired here: " << entry.first << " " << entry.second << "\n";
        result = testing::AssertionFailure() << text.str();
    }
    g_busy = false;
    return result;
}
