// The in-process server: its class-object export, its unload check and the server lock count.
#pragma once

#include <windows.h>

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv);
extern "C" HRESULT WINAPI DllCanUnloadNow();

void LockComServer(BOOL lock);
LONG ComServerLockCount();

// Objects come from the process heap so that their memory is the platform's, not the runtime's.
void *AllocComObject(size_t size);
void FreeComObject(void *object);
