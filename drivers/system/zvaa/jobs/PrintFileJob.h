// Sends a prepared print file to a printer as one raw spooler job, framed by the printer's three
// command packets, with the job raised to the top of the queue.
#pragma once

#include <windows.h>

// The document name and the packets around the file's bytes.
constexpr wchar_t kPrintJobDocumentName[] = L"Inkjet Download";
constexpr BYTE kJobStartPacket[8] = {0xA5, 0x00, 0x05, 0x40, 0xE0, 0x83, 0x00, 0x01};
constexpr BYTE kJobOpenPacket[9] = {0xA5, 0x00, 0x06, 0x40, 0x05, 0x00, 0x00, 0x00, 0x00};
constexpr BYTE kJobClosePacket[9] = {0xA5, 0x00, 0x06, 0x40, 0x05, 0x01, 0x00, 0x00, 0x01};
constexpr DWORD kPrintJobPriority = 99;

// True when the whole file was sent and the job ended. False on failure, with the last error set to
// ERROR_PRINTER_NOT_FOUND (3012, the printer cannot be opened for printing), ERROR_FILE_NOT_FOUND (2),
// ERROR_OUTOFMEMORY (14, no transfer buffer), ERROR_SPL_NO_STARTDOC (3003, the document was refused),
// ERROR_WRITE_FAULT (29, the printer took no byte of a write of the file or of a packet) or the
// error of a read of the file that failed part of the way. After a failed write or read the bytes
// sent so far stay in the job, which is ended rather than cancelled. Shows nothing.
bool PrintFileJob(LPCWSTR printerName, LPCWSTR filePath);
