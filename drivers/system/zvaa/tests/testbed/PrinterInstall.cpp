#include "testbed/PrinterInstall.h"

#include <windows.h>
#include <winspool.h>

std::wstring DriverFilesDirectory() {
    WCHAR dir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed))
        return std::wstring();
    return std::wstring(dir) + L"\\3\\";
}

bool AddDriverOfFiles(const std::wstring &driver, const std::wstring &driverFile, const std::wstring &dataFile,
                      const std::wstring &configFile, bool acceptInstalled) {
    DRIVER_INFO_3W info = {};
    info.cVersion = 3;
    info.pName = const_cast<LPWSTR>(driver.c_str());
    info.pDriverPath = const_cast<LPWSTR>(driverFile.c_str());
    info.pDataFile = const_cast<LPWSTR>(dataFile.c_str());
    info.pConfigFile = const_cast<LPWSTR>(configFile.c_str());
    if (AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&info))) return true;
    return acceptInstalled && GetLastError() == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED;
}

bool AddPrinterOnPort(const std::wstring &printer, const std::wstring &driver, const std::wstring &port) {
    PRINTER_INFO_2W info = {};
    info.pPrinterName = const_cast<LPWSTR>(printer.c_str());
    info.pPortName = const_cast<LPWSTR>(port.c_str());
    info.pDriverName = const_cast<LPWSTR>(driver.c_str());
    info.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
    info.pDatatype = const_cast<LPWSTR>(L"RAW");
    HANDLE handle = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    if (!handle) return false;
    ClosePrinter(handle);
    return true;
}

bool PrinterExists(const std::wstring &printer) {
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr)) return false;
    ClosePrinter(handle);
    return true;
}
