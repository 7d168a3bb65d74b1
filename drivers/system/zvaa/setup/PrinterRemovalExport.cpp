// OEMDeletePrinterDriver, run by rundll32: removes the named printer and its driver.
#include <windows.h>
#include <winspool.h>

#include "core/Owned.h"
#include "core/TextBuffers.h"
#include "state/PrinterInfo.h"
#include "zvaaSUI.h"

namespace {
// Leaves the spooler time to finish with the printer before it is removed.
constexpr DWORD kSettleMilliseconds = 10000;
}  // namespace

void WINAPI OEMDeletePrinterDriver(HWND, HINSTANCE, LPSTR commandLine, int) {
    Sleep(kSettleMilliseconds);
    if (!commandLine) return;

    // The whole command line is the printer name, each byte the character of the same value. A
    // line too long for a printer name is refused: cut, it could name another printer.
    WCHAR printerName[kTextChars];
    size_t length = 0;
    while (length < kTextChars && commandLine[length]) {
        printerName[length] = static_cast<WCHAR>(static_cast<unsigned char>(commandLine[length]));
        ++length;
    }
    if (length == kTextChars) return;
    printerName[length] = L'\0';

    const UniquePrinterRecord info(FetchPrinterInfo(printerName, nullptr));
    if (!info) return;
    {
        UniquePrinter printer;
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (OpenPrinterW(info->pPrinterName, printer.put(), &defaults)) DeletePrinter(printer.get());
    }
    // Asked for even when the printer itself could not be deleted.
    DeletePrinterDriverExW(nullptr, nullptr, info->pDriverName, DPD_DELETE_ALL_FILES, 0);
}
