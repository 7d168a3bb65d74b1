// Stand-ins in the unit program's import table for the spooler calls of a print job: SetJobW at
// level 2 crashes Wine's spooler, so it is always replaced by a recorder of the job records it is
// given; the others pass through and record what they were given, or fail on request.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "testbed/ImportPatch.h"

struct JobRecorder {
    struct JobChange {
        DWORD level, command, priority, position;
        std::wstring document;
    };
    struct OpenCall {
        std::wstring datatype;
        DWORD access;
        bool hasDevmode;
        short copies;  // of the devmode given, 0 without one
    };
    struct DocStart {
        std::wstring document, output, datatype;
        DWORD level;
    };

    std::vector<JobChange> jobChanges;
    std::vector<OpenCall> opens;
    std::vector<DocStart> docStarts;
    std::vector<DWORD> writeSizes;
    int endPages = 0, endDocs = 0;

    // Failure injection.
    bool refuseDocument = false;       // StartDocPrinterW gives no job
    DWORD writeLimit = 0;              // WritePrinter takes at most this many bytes a call (0: all)
    int writesBeforeZero = -1;         // after this many writes, WritePrinter takes nothing (-1: never)
    bool failTransferBuffer = false;   // GlobalAlloc of the 2048-byte buffer fails
    int readsBeforeFailure = -1;       // after this many reads, ReadFile fails with ERROR_CRC (-1: never)

    // A driver that hands out a devmode: DocumentPropertiesW gives one whose dmCopies is
    // `driverCopies`, and accepts the changed one unless `refuseChangedDevmode`.
    bool driverGivesDevmode = false;
    short driverCopies = 3;
    bool refuseChangedDevmode = false;
    short copiesOffered = 0;           // dmCopies of the devmode handed back in (mode 10)

    JobRecorder();
    ~JobRecorder();

    static JobRecorder *current;

private:
    ImportPatch setJob_, open_, startDoc_, write_, endPage_, endDoc_, globalAlloc_, documentProperties_, read_;
};
