#include "core/OemUiPlugin.h"

#include <strsafe.h>

#include "core/ComServer.h"
#include "core/CommonUiItems.h"
#include "core/OemPrivateDevmode.h"
#include "setup/PrinterEvents.h"
#include "ui/MaintenancePage.h"

namespace {
constexpr wchar_t kColorProfileName[] = L"OEMPROFILE.icm";
constexpr ULONG kColorProfileReportedSize = 32;
}  // namespace

OemUiPlugin::~OemUiPlugin() {
    if (m_driverUi) {
        m_driverUi->Release();
        m_driverUi = nullptr;
    }
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::QueryInterface(REFIID riid, void **ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemUI)) {
        *ppv = static_cast<IPrintOemUI *>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE OemUiPlugin::AddRef() { return InterlockedIncrement(&m_refs); }

ULONG STDMETHODCALLTYPE OemUiPlugin::Release() {
    // Decided on the decrement's own result: the object may be gone by the time a read-back runs.
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        this->~OemUiPlugin();
        FreeComObject(this);
    }
    return refs;
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) {
    if (!pcbNeeded || (dwMode != OEMGI_GETSIGNATURE && dwMode != OEMGI_GETVERSION && dwMode != OEMGI_GETPUBLISHERINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    *pcbNeeded = sizeof(DWORD);
    if (!pBuffer || cbSize < sizeof(DWORD)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    switch (dwMode) {
    case OEMGI_GETSIGNATURE:
        *static_cast<DWORD *>(pBuffer) = kOemSignature;
        return S_OK;
    case OEMGI_GETVERSION:
        *static_cast<DWORD *>(pBuffer) = kOemVersion;
        return S_OK;
    default:  // OEMGI_GETPUBLISHERINFO: no publisher information to give
        *pcbNeeded = 0;
        SetLastError(ERROR_NOT_SUPPORTED);
        return E_FAIL;
    }
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
    return OemDevMode(dwMode, pOemDMParam);
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::PublishDriverInterface(IUnknown *pIUnknown) {
    if (m_driverUi) return S_OK;
    if (!pIUnknown) return E_FAIL;
    void *driverUi = nullptr;
    if (FAILED(pIUnknown->QueryInterface(IID_IPrintOemDriverUI, &driverUi)) || !driverUi) return E_FAIL;
    // Callers on several threads may all get here: the first to store keeps its reference, the
    // others give theirs back.
    if (InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile *>(&m_driverUi), driverUi, nullptr))
        static_cast<IPrintOemDriverUI *>(driverUi)->Release();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
    return OemCommonUIProp(dwMode, pOemCUIPParam);
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::DocumentPropertySheets(PPROPSHEETUI_INFO, LPARAM) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE OemUiPlugin::DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    return AddMaintenancePage(pPSUIInfo, lParam);
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID,
                                                          DWORD, DWORD *) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::UpgradePrinter(DWORD, PBYTE) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE OemUiPlugin::PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags,
                                                    LPARAM lParam) {
    return OemPrinterEvent(pPrinterName, iDriverEvent, dwFlags, lParam);
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo,
                                                   LPARAM lParam) {
    return OemDriverEvent(dwDriverEvent, dwLevel, pDriverInfo, lParam);
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG ulQueryMode,
                                                         VOID *pvProfileData, ULONG *pcbProfileData,
                                                         FLONG *pflProfileData) {
    if (ulQueryMode != QCP_DEVICEPROFILE) return E_FAIL;
    // Without somewhere to report the size there is no answer to give.
    if (!pcbProfileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    // A query for the size alone is answered whether or not the kind of data could be reported.
    if (!pvProfileData || *pcbProfileData < kColorProfileReportedSize) {
        *pcbProfileData = kColorProfileReportedSize;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    if (!pflProfileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    StringCbCopyW(static_cast<LPWSTR>(pvProfileData), *pcbProfileData, kColorProfileName);
    *pcbProfileData = kColorProfileReportedSize;
    *pflProfileData = QCP_PROFILEDISK;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OemUiPlugin::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE OemUiPlugin::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) { return E_NOTIMPL; }
