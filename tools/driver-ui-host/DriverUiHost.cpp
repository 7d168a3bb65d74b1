#include "DriverUiHost.h"

#include <commctrl.h>
#include <strsafe.h>

#include "support/ImportPatch.h"

namespace {

// The driver's service interface as the plug-in receives it. The plug-in only keeps a reference, so
// the driver's own services decline.
class DriverInterfaceStandIn : public IPrintOemDriverUI {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
            *ppv = static_cast<IPrintOemDriverUI *>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return refs;
    }
    // The slots of the platform's interface after IUnknown.
    virtual HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) {
        return E_NOTIMPL;
    }
    virtual HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) { return E_NOTIMPL; }
    virtual HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) { return E_NOTIMPL; }

private:
    virtual ~DriverInterfaceStandIn() = default;
    LONG m_refs = 1;
};

std::vector<DriverUiHost::JobChange> g_jobChanges;

BOOL WINAPI SetJobStandIn(HANDLE, DWORD jobId, DWORD level, LPBYTE info, DWORD) {
    if (level == 2 && info) {
        const auto *job = reinterpret_cast<const JOB_INFO_2W *>(info);
        g_jobChanges.push_back({jobId, job->Priority, job->Position});
    }
    return TRUE;
}

// The property sheet being shown and the run it reports to; one at a time per process.
struct SheetSession {
    PropertiesRun *run;
    std::vector<HPROPSHEETPAGE> pages;
};

LONG_PTR CALLBACK ComPropSheet(HANDLE hComPropSheet, UINT function, LPARAM lParam1, LPARAM) {
    auto *session = static_cast<SheetSession *>(hComPropSheet);
    if (!session) return 0;
    session->run->sheetFunctions.push_back(function);
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW || !lParam1) return 0;
    HPROPSHEETPAGE page = CreatePropertySheetPageW(reinterpret_cast<LPCPROPSHEETPAGEW>(lParam1));
    if (!page) return 0;
    session->pages.push_back(page);
    ++session->run->pagesAdded;
    return reinterpret_cast<LONG_PTR>(page);
}

}  // namespace

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::wstring FileBesideProgram(const std::wstring &name) {
    WCHAR path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    if (length == 0 || length >= ARRAYSIZE(path)) return name;
    WCHAR *slash = wcsrchr(path, L'\\');
    if (slash) slash[1] = L'\0';
    return std::wstring(path) + name;
}

DriverUiHost::DriverUiHost(const std::wstring &dllPath) {
    const std::wstring path = dllPath.empty() ? FileBesideProgram(L"zvaaSUI.dll") : dllPath;
    m_module = LoadLibraryW(path.c_str());
    if (!m_module) {
        m_error = L"cannot load " + path;
        return;
    }
    if (RunningUnderWine()) {
        m_setJobPatch.reset(new ImportPatch(m_module, "winspool.drv", "SetJobW",
                                            reinterpret_cast<const void *>(&SetJobStandIn)));
    }

    using GetClassObjectFn = HRESULT(WINAPI *)(REFCLSID, REFIID, void **);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void *>(Export("DllGetClassObject")));
    IClassFactory *factory = nullptr;
    if (!getClassObject ||
        FAILED(getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory))) || !factory) {
        m_error = L"DllGetClassObject gave no class factory";
        return;
    }
    IUnknown *object = nullptr;
    const HRESULT created = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void **>(&object));
    factory->Release();
    if (FAILED(created) || !object) {
        m_error = L"the class factory created no object";
        return;
    }
    IPrintOemUI *plugin = nullptr;
    object->QueryInterface(IID_IPrintOemUI, reinterpret_cast<void **>(&plugin));
    object->Release();
    if (!plugin) {
        m_error = L"the object does not answer IPrintOemUI";
        return;
    }
    m_driverInterface = new DriverInterfaceStandIn;
    if (FAILED(plugin->PublishDriverInterface(m_driverInterface))) {
        plugin->Release();
        m_error = L"PublishDriverInterface failed";
        return;
    }
    m_plugin = plugin;
}

DriverUiHost::~DriverUiHost() {
    if (m_plugin) m_plugin->Release();
    if (m_driverInterface) m_driverInterface->Release();
    m_setJobPatch.reset();
    if (m_module) FreeLibrary(m_module);
}

FARPROC DriverUiHost::Export(const char *name) const { return m_module ? GetProcAddress(m_module, name) : nullptr; }

const std::vector<DriverUiHost::JobChange> &DriverUiHost::JobChanges() { return g_jobChanges; }

HRESULT DriverUiHost::NotifyPrinterInstalled(const std::wstring &printer) {
    if (!m_plugin) return E_FAIL;
    return m_plugin->PrinterEvent(const_cast<PWSTR>(printer.c_str()), PRINTER_EVENT_INITIALIZE, 0, 0);
}

PropertiesRun DriverUiHost::ShowPrinterProperties(const std::wstring &printer, HWND owner) {
    PropertiesRun run;
    if (!m_plugin) return run;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    std::wstring name = printer;
    HANDLE printerHandle = nullptr;
    OpenPrinterW(&name[0], &printerHandle, nullptr);  // the driver holds one; a missing printer has none

    OEMUIPSPARAM param = {};
    param.cbSize = sizeof param;
    param.hPrinter = printerHandle;
    param.pPrinterName = &name[0];
    param.hModule = m_module;
    param.hOEMHeap = GetProcessHeap();

    SheetSession session = {&run, {}};
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.hComPropSheet = &session;
    info.pfnComPropSheet = ComPropSheet;
    info.lParamInit = reinterpret_cast<LPARAM>(&param);

    auto call = [&](WORD reason, LPARAM lParam) {
        info.Reason = reason;
        info.Result = 0;
        SheetCall made;
        made.reason = reason;
        made.hr = m_plugin->DevicePropertySheets(&info, lParam);
        made.result = info.Result;
        run.calls.push_back(made);
    };

    call(PROPSHEETUI_REASON_INIT, reinterpret_cast<LPARAM>(&param));
    if (info.UserData) run.userData = reinterpret_cast<LPCWSTR>(info.UserData);

    PROPSHEETUI_INFO_HEADER header = {};
    header.cbSize = sizeof header;
    header.hWndParent = owner;
    call(PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header));
    if (header.pTitle) run.infoHeaderTitle = header.pTitle;

    if (!session.pages.empty()) {
        // The sheet is the printer's: its title is the printer name, as the platform shows it.
        PROPSHEETHEADERW sheet = {};
        sheet.dwSize = sizeof sheet;
        sheet.dwFlags = PSH_PROPTITLE | PSH_NOAPPLYNOW;
        sheet.hwndParent = owner;
        sheet.pszCaption = name.c_str();
        sheet.nPages = static_cast<UINT>(session.pages.size());
        sheet.phpage = session.pages.data();
        run.sheetResult = PropertySheetW(&sheet);  // destroys the pages it was given
    }

    SETRESULT_INFO result = {};
    result.cbSize = sizeof result;
    result.hSetResult = &session;
    result.Result = run.sheetResult > 0 ? CPSUI_OK : CPSUI_CANCEL;
    call(PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result));
    call(PROPSHEETUI_REASON_DESTROY, 0);

    if (printerHandle) ClosePrinter(printerHandle);
    return run;
}
