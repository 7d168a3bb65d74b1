// Plays the driver's side of PublishDriverInterface: an IUnknown that may or may not hand out its
// IPrintOemDriverUI, and counts every reference taken and given back.
#pragma once

#include "core/PlatformRecords.h"

class FakeDriverUi : public IPrintOemDriverUI {
public:
    explicit FakeDriverUi(bool offersDriverUi) : m_offers(offersDriverUi) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        ++queries;
        if (IsEqualIID(riid, IID_IUnknown) || (m_offers && IsEqualIID(riid, IID_IPrintOemDriverUI))) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }

    LONG refs = 1;  // the driver's own reference
    int queries = 0;

private:
    bool m_offers;
};
