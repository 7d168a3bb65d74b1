// Class factory of the plug-in object.
#pragma once

#include <windows.h>
#include <objbase.h>

class OemClassFactory : public IClassFactory {
public:
    OemClassFactory() : m_refs(1) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ~OemClassFactory() = default;
    volatile LONG m_refs;
};
