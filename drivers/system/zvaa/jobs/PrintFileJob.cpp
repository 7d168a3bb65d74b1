#include "jobs/PrintFileJob.h"

#include <winspool.h>
#include <stddef.h>

#include "core/Owned.h"

namespace {

constexpr DWORD kTransferBytes = 2048;

// Best effort: the printer's own devmode with the copy count set to one, or empty when the printer
// or its driver does not give one.
UniqueGlobal<DEVMODEW> PrepareOneCopyDevmode(LPCWSTR printerName) {
    PRINTER_DEFAULTSW defaults = {const_cast<LPWSTR>(L"RAW"), nullptr, PRINTER_ACCESS_ADMINISTER};
    UniquePrinter printer;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), printer.put(), &defaults)) return {};

    const LONG size = DocumentPropertiesW(nullptr, printer.get(), const_cast<LPWSTR>(printerName), nullptr, nullptr, 0);
    // The block must at least reach the copy count to be changed.
    if (size < static_cast<LONG>(offsetof(DEVMODEW, dmCopies) + sizeof(short))) return {};
    UniqueGlobal<DEVMODEW> devmode(static_cast<DEVMODEW *>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size)));
    if (!devmode ||
        DocumentPropertiesW(nullptr, printer.get(), const_cast<LPWSTR>(printerName), devmode.get(), nullptr,
                            DM_OUT_BUFFER) < 0)
        return {};
    devmode->dmCopies = 1;
    if (DocumentPropertiesW(nullptr, printer.get(), const_cast<LPWSTR>(printerName), devmode.get(), devmode.get(),
                            DM_IN_BUFFER | DM_OUT_BUFFER) < 0)
        return {};
    return devmode;
}

// Rewrites the job's priority (and, at the end, its queue position). Skipped when the record
// cannot be had; the result is not looked at.
void AdjustJob(HANDLE printer, DWORD jobId, bool placeFirst) {
    DWORD needed = 0;
    GetJobW(printer, jobId, 2, nullptr, 0, &needed);
    if (needed < sizeof(JOB_INFO_2W)) return;
    const UniqueGlobal<JOB_INFO_2W> job(static_cast<JOB_INFO_2W *>(GlobalAlloc(GMEM_FIXED, needed)));
    if (!job) return;
    if (GetJobW(printer, jobId, 2, reinterpret_cast<LPBYTE>(job.get()), needed, &needed)) {
        job->Priority = kPrintJobPriority;
        if (placeFirst) job->Position = 1;
        SetJobW(printer, jobId, 2, reinterpret_cast<LPBYTE>(job.get()), 0);
    }
}

// Hands one chunk to the printer, continuing after partial writes. False when a write takes nothing.
bool WriteChunk(HANDLE printer, const BYTE *chunk, DWORD size) {
    DWORD sent = 0;
    while (sent < size) {
        DWORD written = 0;
        WritePrinter(printer, const_cast<BYTE *>(chunk + sent), size - sent, &written);
        if (written == 0) return false;
        // A count beyond what was offered cannot be true; never step past the chunk.
        sent += written < size - sent ? written : size - sent;
    }
    return true;
}

// The job itself; ERROR_SUCCESS, or the error the job fails with once everything it took is given
// back. After a failed write or read what was sent stays in the job: the page and the document are
// ended rather than cancelled.
DWORD SendFileAsJob(LPCWSTR printerName, LPCWSTR filePath) {
    const UniqueGlobal<DEVMODEW> devmode = printerName ? PrepareOneCopyDevmode(printerName) : UniqueGlobal<DEVMODEW>();

    PRINTER_DEFAULTSW defaults = {const_cast<LPWSTR>(L"RAW"), devmode.get(), PRINTER_ACCESS_USE};
    UniquePrinter printer;
    if (!printerName || !OpenPrinterW(const_cast<LPWSTR>(printerName), printer.put(), &defaults))
        return ERROR_PRINTER_NOT_FOUND;

    const UniqueFile file((filePath && filePath[0]) ? CreateFileW(filePath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                                  FILE_ATTRIBUTE_NORMAL, nullptr)
                                                    : INVALID_HANDLE_VALUE);
    if (!file) return ERROR_FILE_NOT_FOUND;

    const UniqueGlobal<BYTE> buffer(static_cast<BYTE *>(GlobalAlloc(GMEM_FIXED, kTransferBytes)));
    if (!buffer) return ERROR_OUTOFMEMORY;

    DOC_INFO_1W info = {const_cast<LPWSTR>(kPrintJobDocumentName), nullptr, const_cast<LPWSTR>(L"RAW")};
    const StartedDocument document(printer.get(), &info);
    if (!document) return ERROR_SPL_NO_STARTDOC;

    AdjustJob(printer.get(), document.jobId(), false);
    StartedPage page(printer.get());
    // A packet the printer does not take fails the job as a refused chunk of the file does.
    if (!WriteChunk(printer.get(), kJobStartPacket, sizeof kJobStartPacket) ||
        !WriteChunk(printer.get(), kJobOpenPacket, sizeof kJobOpenPacket))
        return ERROR_WRITE_FAULT;

    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.get(), kTransferBytes, &got, nullptr)) {
            // Not the end of the file: a cut page must not go out as a whole job.
            const DWORD error = GetLastError();
            return error ? error : ERROR_READ_FAULT;
        }
        if (got == 0) break;
        if (!WriteChunk(printer.get(), buffer.get(), got)) return ERROR_WRITE_FAULT;
    }

    if (!WriteChunk(printer.get(), kJobClosePacket, sizeof kJobClosePacket)) return ERROR_WRITE_FAULT;
    page.End();
    AdjustJob(printer.get(), document.jobId(), true);
    return ERROR_SUCCESS;
}

}  // namespace

bool PrintFileJob(LPCWSTR printerName, LPCWSTR filePath) {
    const DWORD error = SendFileAsJob(printerName, filePath);
    if (error == ERROR_SUCCESS) return true;
    SetLastError(error);
    return false;
}
