#include "DriverUiHost.h"

#include <commctrl.h>
#include <strsafe.h>

#include "testbed/DriverUiStandIn.h"
#include "testbed/ImportPatch.h"
#include "testbed/PluginLibrary.h"

namespace {

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

DriverUiHost::DriverUiHost(const std::wstring &dllPath) {
    const std::wstring path = dllPath.empty() ? FileBesideProgram(L"zvaaSUI.dll") : dllPath;
    m_library.reset(new PluginLibrary(path));
    m_module = m_library->module();
    if (!m_module) {
        m_error = L"cannot load " + path;
        return;
    }
    if (RunningUnderWine()) {
        m_setJobPatch.reset(new ImportPatch(m_module, "winspool.drv", "SetJobW",
                                            reinterpret_cast<const void *>(&SetJobStandIn)));
    }

    const wchar_t *failure = nullptr;
    IPrintOemUI *plugin = m_library->CreatePlugin(&failure);
    if (!plugin) {
        m_error = failure ? failure : L"no plug-in";
        return;
    }
    // The driver's service interface: the plug-in only keeps a reference, so its services decline.
    m_driverInterface.reset(new DriverUiStandIn);
    if (FAILED(plugin->PublishDriverInterface(m_driverInterface.get()))) {
        plugin->Release();
        m_error = L"PublishDriverInterface failed";
        return;
    }
    m_plugin = plugin;
}

DriverUiHost::~DriverUiHost() {
    if (m_plugin) m_plugin->Release();
    m_driverInterface.reset();  // after the plug-in has given back its reference
    m_setJobPatch.reset();
    m_library.reset();  // FreeLibrary
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
