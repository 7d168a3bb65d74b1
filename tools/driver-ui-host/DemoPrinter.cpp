#include "DemoPrinter.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

#include "DriverUiHost.h"

namespace {

std::wstring DriverFilesDir() {
    WCHAR dir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed))
        return std::wstring();
    return std::wstring(dir) + L"\\3\\";
}

bool EnsureFile(const std::wstring &path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool PrinterExists(const std::wstring &printer) {
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr)) return false;
    ClosePrinter(handle);
    return true;
}

}  // namespace

bool InstallDemoPrinter(DriverUiHost &host, const std::wstring &printer, const std::wstring &driver,
                        const std::wstring &port, std::wstring *message) {
    const std::wstring dir = DriverFilesDir();
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
        DRIVER_INFO_3W info = {};
        info.cVersion = 3;
        info.pName = const_cast<LPWSTR>(driver.c_str());
        info.pDriverPath = const_cast<LPWSTR>(driverFile.c_str());
        info.pDataFile = const_cast<LPWSTR>(dataFile.c_str());
        info.pConfigFile = const_cast<LPWSTR>(configFile.c_str());
        if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&info)) &&
            GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
            *message = L"AddPrinterDriverW failed";
            return false;
        }
        PRINTER_INFO_2W added = {};
        added.pPrinterName = const_cast<LPWSTR>(printer.c_str());
        added.pPortName = const_cast<LPWSTR>(port.c_str());
        added.pDriverName = const_cast<LPWSTR>(driver.c_str());
        added.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
        added.pDatatype = const_cast<LPWSTR>(L"RAW");
        HANDLE handle = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&added));
        if (!handle) {
            *message = L"AddPrinterW failed";
            return false;
        }
        ClosePrinter(handle);
    }
    const HRESULT hr = host.NotifyPrinterInstalled(printer);
    if (FAILED(hr)) {
        *message = L"PrinterEvent(PRINTER_EVENT_INITIALIZE) failed";
        return false;
    }
    *message = L"installed";
    return true;
}
