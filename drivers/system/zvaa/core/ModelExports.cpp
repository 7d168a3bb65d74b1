// Model constants handed to the printer software's other components.
#include "zvaaSUI.h"

#include <stdlib.h>
#include <strsafe.h>
#include <string.h>

#include "core/ModelProfile.h"
#include "state/DriverFilesDir.h"

namespace {
constexpr wchar_t kColorDataLibrary[] = L"zvsdclr1.dll";
constexpr BYTE kEjectPageCommand[] = {0x1B, 0x2A, 0x07, 0x65};  // ESC * 7 e
}  // namespace

extern "C" LPWSTR WINAPI GetOEMPrefix(LPWSTR buffer) {
    if (!buffer) return nullptr;  // nowhere to put it: refused, not a fault in the caller's process
    // The caller's buffer has no stated size; the prefix with its terminator is what it must hold.
    memcpy(buffer, Model().prefix, (wcslen(Model().prefix) + 1) * sizeof(WCHAR));
    return buffer;
}

extern "C" void WINAPI OEMGetNumAlignValues(DWORD counts[4]) {
    if (!counts) return;
    memcpy(counts, Model().alignCounts, sizeof Model().alignCounts);
}

extern "C" INT WINAPI OEMEjectPageCmd(LPBYTE command) {
    if (!command) return 0;
    memcpy(command, kEjectPageCommand, sizeof kEjectPageCommand);
    return sizeof kEjectPageCommand;
}

extern "C" INT WINAPI GetColorDataDLLPath(LPSTR path) {
    if (!path) return 0;
    WCHAR dir[MAX_PATH];
    WCHAR full[MAX_PATH];
    path[0] = '\0';
    if (!GetDriverFilesDir(dir, ARRAYSIZE(dir))) return 1;
    if (FAILED(StringCchPrintfW(full, ARRAYSIZE(full), L"%s%s", dir, kColorDataLibrary))) return 1;

    // At most two bytes per character, terminator included: what a double-byte code page can need.
    const size_t limit = (wcslen(full) + 1) * 2;
    const size_t written = wcstombs(path, full, limit);
    if (written == (size_t)-1) path[0] = '\0';  // a character the code page cannot show
    return 1;
}
