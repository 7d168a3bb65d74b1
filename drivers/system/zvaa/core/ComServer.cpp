#include "core/ComServer.h"

#include "core/OemClassFactory.h"
#include "core/PlatformRecords.h"

namespace {
volatile LONG g_serverLocks = 0;
}

void LockComServer(BOOL lock) {
    if (lock)
        InterlockedIncrement(&g_serverLocks);
    else
        InterlockedDecrement(&g_serverLocks);
}

LONG ComServerLockCount() { return g_serverLocks; }

void *AllocComObject(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void FreeComObject(void *object) {
    if (object) HeapFree(GetProcessHeap(), 0, object);
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv) {
    if (!IsEqualCLSID(rclsid, CLSID_OEMUI)) return CLASS_E_CLASSNOTAVAILABLE;
    return CreateComObject<OemClassFactory>(riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return g_serverLocks == 0 ? S_OK : S_FALSE; }
