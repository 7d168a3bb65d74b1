// The in-process server: its class-object export, its unload check (the server lock count and the
// objects alive).
#pragma once

#include <windows.h>

#include <new>

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv);
extern "C" HRESULT WINAPI DllCanUnloadNow();

void LockComServer(bool lock);
LONG ComServerLockCount();

// Objects come from the process heap so that their memory is the platform's, not the runtime's.
// Every object made here counts as alive, holding the library, until it is freed here.
void *AllocComObject(size_t size);
void FreeComObject(void *object);

// Makes an object with one reference, hands the caller the interface it asks for, and drops the
// maker's reference: a refused interface frees the object again.
template <typename T> HRESULT CreateComObject(REFIID riid, void **ppv) {
    void *memory = AllocComObject(sizeof(T));
    if (!memory) return E_OUTOFMEMORY;
    T *object = new (memory) T();
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}
