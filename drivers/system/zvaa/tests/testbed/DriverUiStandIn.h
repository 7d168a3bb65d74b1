// Plays the driver's side of PublishDriverInterface: an IUnknown that may or may not hand out its
// IPrintOemDriverUI, declines the driver's own services, and counts every reference taken and given
// back. Whoever makes it owns it: the last Release does not free it, so a count that goes wrong shows in
// `refs` instead of freeing the object under the plug-in.
#pragma once

#include "core/PlatformRecords.h"

class DriverUiStandIn final : public IPrintOemDriverUI {
public:
    explicit DriverUiStandIn(bool offersDriverUi = true) : m_offers(offersDriverUi) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        ++queries;
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || (m_offers && IsEqualIID(riid, IID_IPrintOemDriverUI))) {
            *ppv = static_cast<IPrintOemDriverUI *>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs)); }

    // The slots of the platform's interface after IUnknown; the plug-in only keeps a reference.
    virtual HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) {
        return E_NOTIMPL;
    }
    virtual HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) { return E_NOTIMPL; }

    LONG refs = 1;  // the driver's own reference
    int queries = 0;

private:
    bool m_offers;
};
