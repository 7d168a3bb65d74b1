// The least printer-driver user interface that hosts zvaaSUI.dll as the platform's does: it loads the
// library, creates the plug-in through its class factory, publishes a driver interface, and shows the
// printer's device property sheet with the pages the plug-in adds, in a real comctl32 property sheet.
#pragma once

#include "core/PlatformRecords.h"

#include <memory>
#include <string>
#include <vector>

class DriverUiStandIn;
class ImportPatch;
class PluginLibrary;

// One call of the plug-in's DevicePropertySheets as the platform's sheet library made it.
struct SheetCall {
    WORD reason = 0;
    LPARAM lParam = 0;
    HRESULT hr = S_OK;
    ULONG_PTR result = 0;
};

// What happened while the printer's properties were shown.
struct PropertiesRun {
    std::vector<SheetCall> calls;           // in the order made
    std::vector<UINT> sheetFunctions;       // every pfnComPropSheet function the plug-in asked for
    int pagesAdded = 0;                     // CPSFUNC_ADD_PROPSHEETPAGEW answered with a page
    std::wstring userData;                  // the printer name the plug-in kept in UserData
    LONG sheetStatus = -1;                  // CommonPropertySheetUIW's return; -1 when it was not called
    LONG sheetResult = -1;                  // its result: CPSUI_OK or CPSUI_CANCEL
};

class DriverUiHost {
public:
    // Loads the library (beside this program when `dllPath` is empty) and creates the plug-in.
    explicit DriverUiHost(const std::wstring &dllPath = std::wstring());
    ~DriverUiHost();
    DriverUiHost(const DriverUiHost &) = delete;
    DriverUiHost &operator=(const DriverUiHost &) = delete;

    bool Ok() const { return m_plugin != nullptr; }
    const std::wstring &Error() const { return m_error; }
    HMODULE Module() const { return m_module; }
    IPrintOemUI *Plugin() const { return m_plugin; }
    FARPROC Export(const char *name) const;

    // Plays the driver for the printer's properties through the platform's common property-sheet
    // library (compstui's CommonPropertySheetUIW), as the printer driver's UI does: the host's part
    // titles the sheet with the printer name (owned by `owner`) and adds the plug-in's
    // DevicePropertySheets as a child, which the library then calls with its own reasons and shows the
    // pages it adds. A script acts on the sheet through a DialogRobot made before this call: the
    // sheet is the first dialog it sees.
    PropertiesRun ShowPrinterProperties(const std::wstring &printer, HWND owner = nullptr);

    // The platform's printer-installed notice: PrinterEvent(PRINTER_EVENT_INITIALIZE).
    HRESULT NotifyPrinterInstalled(const std::wstring &printer);

    // Print jobs the plug-in raised: Wine's spooler crashes in SetJobW at level 2, so under Wine the
    // host answers the library's SetJobW itself and keeps what it was asked.
    struct JobChange {
        DWORD jobId;
        DWORD priority;
        DWORD position;
    };
    static const std::vector<JobChange> &JobChanges();

private:
    std::unique_ptr<PluginLibrary> m_library;
    HMODULE m_module = nullptr;
    IPrintOemUI *m_plugin = nullptr;
    std::unique_ptr<DriverUiStandIn> m_driverInterface;
    std::unique_ptr<ImportPatch> m_setJobPatch;
    std::wstring m_error;
};

// Shows a property sheet titled `title` (owned by `owner`) through the platform's common property-sheet
// library, as the printer driver's UI shows a printer's: `child`, called with `childInit`, adds the pages
// as a plug-in's callback does. The library's result (CPSUI_OK or CPSUI_CANCEL) in *result; returns
// what the library returns, -1 without it.
LONG ShowCommonPropertySheet(HWND owner, const std::wstring &title, PFNPROPSHEETUI child, LPARAM childInit,
                             DWORD *result);

// True when running under Wine.
bool RunningUnderWine();
