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

// The sheet being shown, and the properties run it reports to; one at a time per process (the
// platform's callbacks carry no pointer of the host's own).
struct CommonSheet {
    LPCWSTR title;
    HWND owner;
    PFNPROPSHEETUI child;
    LPARAM childInit;
};
CommonSheet *g_sheet = nullptr;

struct PluginSession {
    PropertiesRun *run;
    IPrintOemUI *plugin;
    PFNCOMPROPSHEET platformFunction;  // the sheet library's, while the plug-in is called
};
PluginSession *g_plugin = nullptr;

// What the plug-in asks of the sheet, noted on the way to the platform's own function.
LONG_PTR CALLBACK NotedSheetFunction(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
    PluginSession *session = g_plugin;
    if (!session || !session->platformFunction) return 0;
    session->run->sheetFunctions.push_back(function);
    const LONG_PTR result = session->platformFunction(sheet, function, lParam1, lParam2);
    if (function == CPSFUNC_ADD_PROPSHEETPAGEW && result > 0) ++session->run->pagesAdded;
    return result;
}

// The plug-in's DevicePropertySheets as a child of the sheet, as the printer driver's UI adds it.
LONG CALLBACK PluginSheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    PluginSession *session = g_plugin;
    if (!session || !info) return -1;
    SheetCall made;
    made.reason = info->Reason;
    made.lParam = lParam;
    session->platformFunction = info->pfnComPropSheet;
    info->pfnComPropSheet = NotedSheetFunction;
    made.hr = session->plugin->DevicePropertySheets(info, lParam);
    info->pfnComPropSheet = session->platformFunction;
    made.result = info->Result;
    if (info->Reason == PROPSHEETUI_REASON_INIT && info->UserData)
        session->run->userData = reinterpret_cast<LPCWSTR>(info->UserData);
    session->run->calls.push_back(made);
    return SUCCEEDED(made.hr) ? 1 : -1;
}

// The driver's own part of the sheet: its title and owner, and the pages' callback as a child.
LONG CALLBACK DriverSheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    CommonSheet *sheet = g_sheet;
    if (!sheet || !info) return -1;
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PFNPROPSHEETUIW,
                                     reinterpret_cast<LPARAM>(sheet->child), sheet->childInit) > 0
                   ? 1
                   : -1;
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
        auto *header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
        if (!header) return -1;
        // The sheet is the printer's: its title is the printer name, as the platform shows it.
        header->Flags = PSUIHDRF_PROPTITLE | PSUIHDRF_NOAPPLYNOW;
        header->pTitle = const_cast<LPWSTR>(sheet->title);
        header->hWndParent = sheet->owner;
        header->hInst = GetModuleHandleW(nullptr);
        header->IconID = IDI_CPSUI_PRINTER;
        return 1;
    }
    default: return 1;
    }
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

LONG ShowCommonPropertySheet(HWND owner, const std::wstring &title, PFNPROPSHEETUI child, LPARAM childInit,
                             DWORD *result) {
    if (result) *result = CPSUI_CANCEL;
    if (g_sheet) return -1;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The platform's common property-sheet library, which hosts every printer's property pages.
    HMODULE library = LoadLibraryW(L"compstui.dll");
    using Common = LONG(WINAPI *)(HWND, PFNPROPSHEETUI, LPARAM, LPDWORD);
    const auto common = reinterpret_cast<Common>(
        reinterpret_cast<void *>(library ? GetProcAddress(library, "CommonPropertySheetUIW") : nullptr));
    LONG status = -1;
    if (common) {
        CommonSheet sheet = {title.c_str(), owner, child, childInit};
        g_sheet = &sheet;
        DWORD shown = CPSUI_CANCEL;
        // MinGW declares the callback type without its calling convention; the platform calls it as one.
        status = common(owner, reinterpret_cast<PFNPROPSHEETUI>(reinterpret_cast<void *>(&DriverSheets)), 0, &shown);
        if (result) *result = shown;
        g_sheet = nullptr;
    }
    if (library) FreeLibrary(library);
    return status;
}

PropertiesRun DriverUiHost::ShowPrinterProperties(const std::wstring &printer, HWND owner) {
    PropertiesRun run;
    if (!m_plugin || g_plugin) return run;

    std::wstring name = printer;
    HANDLE printerHandle = nullptr;
    OpenPrinterW(&name[0], &printerHandle, nullptr);  // the driver holds one; a missing printer has none

    OEMUIPSPARAM param = {};
    param.cbSize = sizeof param;
    param.hPrinter = printerHandle;
    param.pPrinterName = &name[0];
    param.hModule = m_module;
    param.hOEMHeap = GetProcessHeap();

    PluginSession session = {&run, m_plugin, nullptr};
    g_plugin = &session;
    DWORD result = CPSUI_CANCEL;
    run.sheetStatus = ShowCommonPropertySheet(owner, name, reinterpret_cast<PFNPROPSHEETUI>(
                                                               reinterpret_cast<void *>(&PluginSheets)),
                                              reinterpret_cast<LPARAM>(&param), &result);
    run.sheetResult = static_cast<LONG>(result);
    g_plugin = nullptr;
    if (printerHandle) ClosePrinter(printerHandle);
    return run;
}
