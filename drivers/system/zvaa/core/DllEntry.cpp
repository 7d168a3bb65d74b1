// Entry point of zvaaSUI.dll: the stack canary is seeded and the model profile filled on process
// attach; nothing else runs.
#include <windows.h>

#include "core/ModelProfile.h"
#include "core/StackGuard.h"

extern "C" __attribute__((no_stack_protector)) BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) InitStackGuard();
    return InitModelProfile(module, reason) ? TRUE : FALSE;
}
