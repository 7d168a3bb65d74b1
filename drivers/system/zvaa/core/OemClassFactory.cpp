#include "core/OemClassFactory.h"

#include "core/ComServer.h"
#include "core/OemUiPlugin.h"

HRESULT STDMETHODCALLTYPE OemClassFactory::QueryInterface(REFIID riid, void **ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory *>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE OemClassFactory::AddRef() { return InterlockedIncrement(&m_refs); }

ULONG STDMETHODCALLTYPE OemClassFactory::Release() {
    // The decrement's own result decides: reading the count back could read freed memory when
    // another thread releases the last reference meanwhile.
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        this->~OemClassFactory();
        FreeComObject(this);
    }
    return refs;
}

HRESULT STDMETHODCALLTYPE OemClassFactory::CreateInstance(IUnknown *outer, REFIID riid, void **ppv) {
    if (outer) return CLASS_E_NOAGGREGATION;

    return CreateComObject<OemUiPlugin>(riid, ppv);
}

HRESULT STDMETHODCALLTYPE OemClassFactory::LockServer(BOOL lock) {
    LockComServer(lock != FALSE);
    return S_OK;
}
