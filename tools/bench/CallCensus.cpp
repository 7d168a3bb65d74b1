#include "CallCensus.h"

#include <winspool.h>

#include "testbed/ImportPatch.h"

namespace {

enum Counted {
    kOpenPrinter,
    kGetPrinter,
    kGetPrinterData,
    kDocumentProperties,
    kGetJob,
    kWritePrinter,
    kRegOpenKey,
    kRegQueryValue,
    kRegEnumKey,
    kRegDeleteKey,
    kProfileString,
    kFindFirstFile,
    kFindNextFile,
    kReadFile,
    kDeleteFile,
    kLoadImage,
    kStretchBlt,
    kSetDlgItemText,
    kCountedKinds
};

long g_counts[kCountedKinds];

struct Target {
    const char *dll;
    const char *function;
    const void *standIn;
    const void **original;
};

#define COUNTED(kind, name, ret, params, args)                                                        \
    const void *g_real_##name = nullptr;                                                            \
    ret WINAPI Counted_##name params {                                                              \
        ++g_counts[kind];                                                                           \
        return reinterpret_cast<decltype(&name)>(const_cast<void *>(g_real_##name)) args;           \
    }

COUNTED(kOpenPrinter, OpenPrinterW, BOOL, (LPWSTR a, LPHANDLE b, LPPRINTER_DEFAULTSW c), (a, b, c))
COUNTED(kGetPrinter, GetPrinterW, BOOL, (HANDLE a, DWORD b, LPBYTE c, DWORD d, LPDWORD e), (a, b, c, d, e))
COUNTED(kGetPrinterData, GetPrinterDataW, DWORD, (HANDLE a, LPWSTR b, LPDWORD c, LPBYTE d, DWORD e, LPDWORD f),
        (a, b, c, d, e, f))
COUNTED(kDocumentProperties, DocumentPropertiesW, LONG,
        (HWND a, HANDLE b, LPWSTR c, PDEVMODEW d, PDEVMODEW e, DWORD f), (a, b, c, d, e, f))
COUNTED(kGetJob, GetJobW, BOOL, (HANDLE a, DWORD b, DWORD c, LPBYTE d, DWORD e, LPDWORD f), (a, b, c, d, e, f))
COUNTED(kWritePrinter, WritePrinter, BOOL, (HANDLE a, LPVOID b, DWORD c, LPDWORD d), (a, b, c, d))
COUNTED(kRegOpenKey, RegOpenKeyExW, LSTATUS, (HKEY a, LPCWSTR b, DWORD c, REGSAM d, PHKEY e), (a, b, c, d, e))
COUNTED(kRegQueryValue, RegQueryValueExW, LSTATUS, (HKEY a, LPCWSTR b, LPDWORD c, LPDWORD d, LPBYTE e, LPDWORD f),
        (a, b, c, d, e, f))
COUNTED(kRegEnumKey, RegEnumKeyExW, LSTATUS,
        (HKEY a, DWORD b, LPWSTR c, LPDWORD d, LPDWORD e, LPWSTR f, LPDWORD g, PFILETIME h), (a, b, c, d, e, f, g, h))
COUNTED(kRegDeleteKey, RegDeleteKeyExW, LSTATUS, (HKEY a, LPCWSTR b, REGSAM c, DWORD d), (a, b, c, d))
COUNTED(kProfileString, GetPrivateProfileStringW, DWORD,
        (LPCWSTR a, LPCWSTR b, LPCWSTR c, LPWSTR d, DWORD e, LPCWSTR f), (a, b, c, d, e, f))
COUNTED(kFindFirstFile, FindFirstFileW, HANDLE, (LPCWSTR a, LPWIN32_FIND_DATAW b), (a, b))
COUNTED(kFindNextFile, FindNextFileW, BOOL, (HANDLE a, LPWIN32_FIND_DATAW b), (a, b))
COUNTED(kReadFile, ReadFile, BOOL, (HANDLE a, LPVOID b, DWORD c, LPDWORD d, LPOVERLAPPED e), (a, b, c, d, e))
COUNTED(kDeleteFile, DeleteFileW, BOOL, (LPCWSTR a), (a))
COUNTED(kLoadImage, LoadImageW, HANDLE, (HINSTANCE a, LPCWSTR b, UINT c, int d, int e, UINT f), (a, b, c, d, e, f))
COUNTED(kStretchBlt, StretchBlt, BOOL, (HDC a, int b, int c, int d, int e, HDC f, int g, int h, int i, int j, DWORD k),
        (a, b, c, d, e, f, g, h, i, j, k))
COUNTED(kSetDlgItemText, SetDlgItemTextW, BOOL, (HWND a, int b, LPCWSTR c), (a, b, c))

#define TARGET(dll, name) {dll, #name, reinterpret_cast<const void *>(&Counted_##name), &g_real_##name}

const Target kTargets[kCountedKinds] = {
    TARGET("winspool.drv", OpenPrinterW),     TARGET("winspool.drv", GetPrinterW),
    TARGET("winspool.drv", GetPrinterDataW),  TARGET("winspool.drv", DocumentPropertiesW),
    TARGET("winspool.drv", GetJobW),          TARGET("winspool.drv", WritePrinter),
    TARGET("advapi32.dll", RegOpenKeyExW),    TARGET("advapi32.dll", RegQueryValueExW),
    TARGET("advapi32.dll", RegEnumKeyExW),    TARGET("advapi32.dll", RegDeleteKeyExW),
    TARGET("kernel32.dll", GetPrivateProfileStringW), TARGET("kernel32.dll", FindFirstFileW),
    TARGET("kernel32.dll", FindNextFileW),    TARGET("kernel32.dll", ReadFile),
    TARGET("kernel32.dll", DeleteFileW),      TARGET("user32.dll", LoadImageW),
    TARGET("gdi32.dll", StretchBlt),          TARGET("user32.dll", SetDlgItemTextW),
};

}  // namespace

CallCensus::CallCensus(std::vector<HMODULE> modules) {
    for (HMODULE module : modules) {
        for (const Target &target : kTargets) {
            std::unique_ptr<ImportPatch> patch(new ImportPatch(module, target.dll, target.function, target.standIn));
            // The first module that imports a function tells where the counting stand-in calls on to.
            if (patch->slots() && !*target.original) *target.original = patch->original<const void *>();
            m_patches.push_back(std::move(patch));
        }
    }
    Reset();
}

CallCensus::~CallCensus() {
    // Restored in reverse, so that each module gets back what it called before.
    while (!m_patches.empty()) m_patches.pop_back();
    for (const Target &target : kTargets) *target.original = nullptr;
}

void CallCensus::Reset() {
    for (long &count : g_counts) count = 0;
}

std::vector<long> CallCensus::Counts() const { return std::vector<long>(g_counts, g_counts + kCountedKinds); }

std::string CallCensus::Describe(const std::vector<long> &counts) {
    std::string text;
    for (size_t i = 0; i < counts.size() && i < kCountedKinds; ++i) {
        if (!counts[i]) continue;
        if (!text.empty()) text += ", ";
        text += kTargets[i].function + std::string(" ") + std::to_string(counts[i]);
    }
    return text;
}
