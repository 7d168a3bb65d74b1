#include "state/PrinterInfo.h"

#include "core/Owned.h"

namespace {
constexpr DWORD kUsualRecordBytes = 4096;
}

PRINTER_INFO_2W *FetchPrinterInfo(LPCWSTR printerName, HANDLE printer) {
    UniquePrinter opened;
    if (!printer) {
        if (!printerName) return nullptr;
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
        if (!OpenPrinterW(const_cast<LPWSTR>(printerName), opened.put(), &defaults)) return nullptr;
        printer = opened.get();
    }

    // A record usually fits a few kilobytes: asked into such a block first, the spooler assembles it
    // once instead of once for its size and once more for its content (each costs as much as the other).
    DWORD size = kUsualRecordBytes, needed = 0;
    UniquePrinterRecord info(static_cast<PRINTER_INFO_2W *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size)));
    while (info && !GetPrinterW(printer, 2, reinterpret_cast<LPBYTE>(info.get()), size, &needed)) {
        const DWORD error = GetLastError();
        info.reset();
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= size) break;
        size = needed;
        info.reset(static_cast<PRINTER_INFO_2W *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size)));
    }
    return info.release();
}

void FreePrinterInfo(PRINTER_INFO_2W *info) {
    if (info) HeapFree(GetProcessHeap(), 0, info);
}

bool IsRemotePrinter(LPCWSTR printerName, HANDLE printer) {
    const UniquePrinterRecord info(FetchPrinterInfo(printerName, printer));
    return info && info->pServerName && info->pServerName[0];
}
