#include "state/PrinterInfo.h"

namespace {
constexpr DWORD kUsualRecordBytes = 4096;
}

PRINTER_INFO_2W *FetchPrinterInfo(LPCWSTR printerName, HANDLE printer) {
    HANDLE opened = nullptr;
    if (!printer) {
        if (!printerName) return nullptr;
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
        if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &opened, &defaults)) return nullptr;
        printer = opened;
    }

    // A record usually fits a few kilobytes: asked into such a block first, the spooler assembles it
    // once instead of once for its size and once more for its content (each costs as much as the other).
    DWORD size = kUsualRecordBytes, needed = 0;
    PRINTER_INFO_2W *info = static_cast<PRINTER_INFO_2W *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
    while (info && !GetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(info), size, &needed)) {
        const DWORD error = GetLastError();
        HeapFree(GetProcessHeap(), 0, info);
        info = nullptr;
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= size) break;
        size = needed;
        info = static_cast<PRINTER_INFO_2W *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
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
