#include "DemoPrinter.h"

#include <windows.h>


#include "DriverUiHost.h"
#include "testbed/PrinterInstall.h"

namespace {

bool EnsureFile(const std::wstring &path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

bool InstallDemoPrinter(DriverUiHost &host, const std::wstring &printer, const std::wstring &driver,
                        const std::wstring &port, std::wstring *message) {
    const std::wstring dir = DriverFilesDirectory();
    if (dir.empty()) {
        *message = L"the spooler gives no driver directory";
        return false;
    }
    if (!PrinterExists(printer)) {
        const std::wstring driverFile = L"zvdemo.drv", dataFile = L"zvdemo.dat", configFile = L"zvdemo.cfg";
        for (const std::wstring *file : {&driverFile, &dataFile, &configFile})
            if (!EnsureFile(dir + *file)) {
                *message = L"cannot write " + dir + *file;
                return false;
            }
        if (!AddDriverOfFiles(driver, driverFile, dataFile, configFile, true)) {
            *message = L"AddPrinterDriverW failed";
            return false;
        }
        if (!AddPrinterOnPort(printer, driver, port)) {
            *message = L"AddPrinterW failed";
            return false;
        }
    }
    const HRESULT hr = host.NotifyPrinterInstalled(printer);
    if (FAILED(hr)) {
        *message = L"PrinterEvent(PRINTER_EVENT_INITIALIZE) failed";
        return false;
    }
    *message = L"installed";
    return true;
}
