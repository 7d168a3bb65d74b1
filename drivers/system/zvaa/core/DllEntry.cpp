// Entry point of zvaaSUI.dll: the model profile is filled on process attach; nothing else runs.
#include <windows.h>

#include "core/ModelProfile.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) { return InitModelProfile(module, reason); }
