#include "state/PrinterInfo.h"

PRINTER_INFO_2W *FetchPrinterInfo(LPCWSTR printerName, HANDLE printer) {
    HANDLE opened = nullptr;
    if (!printer) {
        if (!printerName) return nullptr;
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
        if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &opened, &defaults)) return nullptr;
        printer = opened;
    }

    PRINTER_INFO_2W *info = nullptr;
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed >= sizeof(PRINTER_INFO_2W)) {
        info = static_cast<PRINTER_INFO_2W *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, needed));
        if (info && !GetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(info), needed, &needed)) {
            HeapFree(GetProcessHeap(), 0, info);
            info = nullptr;
        }
    }

    if (opened) ClosePrinter(opened);
    return info;
}

void FreePrinterInfo(PRINTER_INFO_2W *info) {
    if (info) HeapFree(GetProcessHeap(), 0, info);
}

BOOL IsRemotePrinter(LPCWSTR printerName, HANDLE printer) {
    PRINTER_INFO_2W *info = FetchPrinterInfo(printerName, printer);
    if (!info) return FALSE;
    const BOOL remote = info->pServerName && info->pServerName[0];
    FreePrinterInfo(info);
    return remote;
}
