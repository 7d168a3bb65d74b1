#include "core/ComServer.h"

#include "core/OemClassFactory.h"
#include "core/PlatformRecords.h"
#include "ui/AccessibleObject.h"

namespace {
volatile LONG g_serverLocks = 0;
// Factories and plug-in objects alive: their code must stay loaded while any of them lives.
volatile LONG g_liveObjects = 0;
}

void LockComServer(bool lock) {
    if (lock)
        InterlockedIncrement(&g_serverLocks);
    else
        InterlockedDecrement(&g_serverLocks);
}

LONG ComServerLockCount() { return g_serverLocks; }

void *AllocComObject(size_t size) {
    void *object = HeapAlloc(GetProcessHeap(), 0, size);
    if (object) InterlockedIncrement(&g_liveObjects);
    return object;
}

void FreeComObject(void *object) {
    if (!object) return;
    HeapFree(GetProcessHeap(), 0, object);
    InterlockedDecrement(&g_liveObjects);
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv) {
    if (!IsEqualCLSID(rclsid, CLSID_OEMUI)) return CLASS_E_CLASSNOTAVAILABLE;
    return CreateComObject<OemClassFactory>(riid, ppv);
}

// A reader's client may still hold an accessible object of a page that is gone.
extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return g_serverLocks == 0 && g_liveObjects == 0 && LiveAccessibleObjects() == 0 ? S_OK : S_FALSE;
}
