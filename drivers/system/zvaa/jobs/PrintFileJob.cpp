#include "jobs/PrintFileJob.h"

#include <winspool.h>
#include <stddef.h>

namespace {

constexpr DWORD kTransferBytes = 2048;

// Best effort: the printer's own devmode with the copy count set to one, or null when the printer
// or its driver does not give one. The block is the caller's to free.
DEVMODEW *PrepareOneCopyDevmode(LPCWSTR printerName) {
    PRINTER_DEFAULTSW defaults = {const_cast<LPWSTR>(L"RAW"), nullptr, PRINTER_ACCESS_ADMINISTER};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults)) return nullptr;

    DEVMODEW *devmode = nullptr;
    const LONG size = DocumentPropertiesW(nullptr, printer, const_cast<LPWSTR>(printerName), nullptr, nullptr, 0);
    // The block must at least reach the copy count to be changed.
    if (size >= static_cast<LONG>(offsetof(DEVMODEW, dmCopies) + sizeof(short))) {
        DEVMODEW *block = static_cast<DEVMODEW *>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size));
        if (block) {
            if (DocumentPropertiesW(nullptr, printer, const_cast<LPWSTR>(printerName), block, nullptr, DM_OUT_BUFFER) >= 0) {
                block->dmCopies = 1;
                if (DocumentPropertiesW(nullptr, printer, const_cast<LPWSTR>(printerName), block, block,
                                        DM_IN_BUFFER | DM_OUT_BUFFER) >= 0)
                    devmode = block;
            }
            if (!devmode) GlobalFree(block);
        }
    }
    ClosePrinter(printer);
    return devmode;
}

// Rewrites the job's priority (and, at the end, its queue position). Skipped when the record
// cannot be had; the result is not looked at.
void AdjustJob(HANDLE printer, DWORD jobId, bool placeFirst) {
    DWORD needed = 0;
    GetJobW(printer, jobId, 2, nullptr, 0, &needed);
    if (needed < sizeof(JOB_INFO_2W)) return;
    JOB_INFO_2W *job = static_cast<JOB_INFO_2W *>(GlobalAlloc(GMEM_FIXED, needed));
    if (!job) return;
    if (GetJobW(printer, jobId, 2, reinterpret_cast<LPBYTE>(job), needed, &needed)) {
        job->Priority = kPrintJobPriority;
        if (placeFirst) job->Position = 1;
        SetJobW(printer, jobId, 2, reinterpret_cast<LPBYTE>(job), 0);
    }
    GlobalFree(job);
}

// Hands one chunk to the printer, continuing after partial writes. FALSE when a write takes nothing.
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

void FreeBlock(void *block) {
    if (block) GlobalFree(block);
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// What was sent stays in the job: the page and the document are ended rather than cancelled, and
// the job fails with `error`.
BOOL EndFailedJob(HANDLE printer, HANDLE file, DEVMODEW *devmode, BYTE *buffer, DWORD error) {
    CloseHandle(file);
    FreeBlock(devmode);
    FreeBlock(buffer);
    EndPagePrinter(printer);
    EndDocPrinter(printer);
    ClosePrinter(printer);
    return Fail(error);
}

}  // namespace

BOOL PrintFileJob(LPCWSTR printerName, LPCWSTR filePath) {
    DEVMODEW *devmode = printerName ? PrepareOneCopyDevmode(printerName) : nullptr;

    PRINTER_DEFAULTSW defaults = {const_cast<LPWSTR>(L"RAW"), devmode, PRINTER_ACCESS_USE};
    HANDLE printer = nullptr;
    if (!printerName || !OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults)) {
        FreeBlock(devmode);
        return Fail(ERROR_PRINTER_NOT_FOUND);
    }

    HANDLE file = (filePath && filePath[0])
                      ? CreateFileW(filePath, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                      : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        FreeBlock(devmode);
        ClosePrinter(printer);
        return Fail(ERROR_FILE_NOT_FOUND);
    }

    BYTE *buffer = static_cast<BYTE *>(GlobalAlloc(GMEM_FIXED, kTransferBytes));
    if (!buffer) {
        CloseHandle(file);
        FreeBlock(devmode);
        ClosePrinter(printer);
        return Fail(ERROR_OUTOFMEMORY);
    }

    DOC_INFO_1W document = {const_cast<LPWSTR>(kPrintJobDocumentName), nullptr, const_cast<LPWSTR>(L"RAW")};
    const DWORD jobId = StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&document));
    if (jobId == 0) {
        CloseHandle(file);
        FreeBlock(devmode);
        FreeBlock(buffer);
        ClosePrinter(printer);
        return Fail(ERROR_SPL_NO_STARTDOC);
    }

    AdjustJob(printer, jobId, false);
    StartPagePrinter(printer);
    // A packet the printer does not take fails the job as a refused chunk of the file does.
    if (!WriteChunk(printer, kJobStartPacket, sizeof kJobStartPacket) ||
        !WriteChunk(printer, kJobOpenPacket, sizeof kJobOpenPacket))
        return EndFailedJob(printer, file, devmode, buffer, ERROR_WRITE_FAULT);

    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, kTransferBytes, &got, nullptr)) {
            // Not the end of the file: a cut page must not go out as a whole job.
            const DWORD error = GetLastError();
            return EndFailedJob(printer, file, devmode, buffer, error ? error : ERROR_READ_FAULT);
        }
        if (got == 0) break;
        if (!WriteChunk(printer, buffer, got)) return EndFailedJob(printer, file, devmode, buffer, ERROR_WRITE_FAULT);
    }

    if (!WriteChunk(printer, kJobClosePacket, sizeof kJobClosePacket))
        return EndFailedJob(printer, file, devmode, buffer, ERROR_WRITE_FAULT);
    CloseHandle(file);
    FreeBlock(devmode);
    FreeBlock(buffer);
    EndPagePrinter(printer);
    AdjustJob(printer, jobId, true);
    EndDocPrinter(printer);
    ClosePrinter(printer);
    return TRUE;
}
