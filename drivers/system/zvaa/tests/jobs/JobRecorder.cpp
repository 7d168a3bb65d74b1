#include "JobRecorder.h"

#include <string.h>

JobRecorder *JobRecorder::current = nullptr;

namespace {

HMODULE Program() { return GetModuleHandleW(nullptr); }
template <typename F> const void *Fn(F f) { return reinterpret_cast<const void *>(f); }

decltype(&OpenPrinterW) realOpen;
decltype(&StartDocPrinterW) realStartDoc;
decltype(&WritePrinter) realWrite;
decltype(&EndPagePrinter) realEndPage;
decltype(&EndDocPrinter) realEndDoc;
decltype(&GlobalAlloc) realGlobalAlloc;
decltype(&DocumentPropertiesW) realDocumentProperties;
decltype(&ReadFile) realRead;

BOOL WINAPI FakeSetJob(HANDLE, DWORD, DWORD level, LPBYTE info, DWORD command) {
    JobRecorder::JobChange change = {level, command, 0, 0, L""};
    if (level == 2 && info) {
        const JOB_INFO_2W *job = reinterpret_cast<const JOB_INFO_2W *>(info);
        change.priority = job->Priority;
        change.position = job->Position;
        change.document = job->pDocument ? job->pDocument : L"";
    }
    JobRecorder::current->jobChanges.push_back(change);
    return TRUE;
}

BOOL WINAPI RecordOpen(LPWSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSW defaults) {
    JobRecorder::OpenCall call = {L"", 0, false, 0};
    if (defaults) {
        call.datatype = defaults->pDatatype ? defaults->pDatatype : L"";
        call.access = defaults->DesiredAccess;
        call.hasDevmode = defaults->pDevMode != nullptr;
        call.copies = defaults->pDevMode ? defaults->pDevMode->dmCopies : 0;
    }
    JobRecorder::current->opens.push_back(call);
    return realOpen(name, printer, defaults);
}

DWORD WINAPI RecordStartDoc(HANDLE printer, DWORD level, LPBYTE info) {
    const DOC_INFO_1W *doc = reinterpret_cast<const DOC_INFO_1W *>(info);
    JobRecorder::DocStart start = {L"", L"", L"", level};
    if (doc) {
        start.document = doc->pDocName ? doc->pDocName : L"<null>";
        start.output = doc->pOutputFile ? doc->pOutputFile : L"<null>";
        start.datatype = doc->pDatatype ? doc->pDatatype : L"<null>";
    }
    JobRecorder::current->docStarts.push_back(start);
    if (JobRecorder::current->refuseDocument) return 0;
    return realStartDoc(printer, level, info);
}

BOOL WINAPI RecordWrite(HANDLE printer, LPVOID data, DWORD size, LPDWORD written) {
    JobRecorder *r = JobRecorder::current;
    r->writeSizes.push_back(size);
    if (r->writesBeforeZero == 0) {
        *written = 0;
        return FALSE;
    }
    if (r->writesBeforeZero > 0) --r->writesBeforeZero;
    const DWORD take = r->writeLimit && size > r->writeLimit ? r->writeLimit : size;
    return realWrite(printer, data, take, written);
}

BOOL WINAPI RecordEndPage(HANDLE printer) {
    ++JobRecorder::current->endPages;
    return realEndPage(printer);
}

BOOL WINAPI RecordEndDoc(HANDLE printer) {
    ++JobRecorder::current->endDocs;
    return realEndDoc(printer);
}

HGLOBAL WINAPI MaybeFailGlobalAlloc(UINT flags, SIZE_T bytes) {
    if (JobRecorder::current->failTransferBuffer && bytes == 2048) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return realGlobalAlloc(flags, bytes);
}

// A damaged disk or a network file gone away: the read fails part of the way through the file.
BOOL WINAPI MaybeFailRead(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED overlapped) {
    JobRecorder *r = JobRecorder::current;
    if (r && r->readsBeforeFailure == 0) {
        if (got) *got = 0;
        SetLastError(ERROR_CRC);
        return FALSE;
    }
    if (r && r->readsBeforeFailure > 0) --r->readsBeforeFailure;
    return realRead(file, buffer, size, got, overlapped);
}

LONG WINAPI FakeDocumentProperties(HWND window, HANDLE printer, LPWSTR name, PDEVMODEW out, PDEVMODEW in, DWORD mode) {
    JobRecorder *r = JobRecorder::current;
    if (!r->driverGivesDevmode) return realDocumentProperties(window, printer, name, out, in, mode);
    const LONG size = sizeof(DEVMODEW) + 16;
    if (mode == 0) return size;
    if (mode & DM_IN_BUFFER) {
        r->copiesOffered = in ? in->dmCopies : 0;
        if (r->refuseChangedDevmode) return -1;
    }
    if ((mode & DM_OUT_BUFFER) && out) {
        if (!(mode & DM_IN_BUFFER)) {
            memset(out, 0, size);
            lstrcpynW(out->dmDeviceName, L"Testdrivrutin", CCHDEVICENAME);
            out->dmSize = sizeof(DEVMODEW);
            out->dmDriverExtra = 16;
            out->dmFields = DM_COPIES | DM_ORIENTATION;
            out->dmCopies = r->driverCopies;
        }
    }
    return IDOK;
}

}  // namespace

JobRecorder::JobRecorder()
    : setJob_(Program(), "winspool.drv", "SetJobW", Fn(&FakeSetJob)),
      open_(Program(), "winspool.drv", "OpenPrinterW", Fn(&RecordOpen)),
      startDoc_(Program(), "winspool.drv", "StartDocPrinterW", Fn(&RecordStartDoc)),
      write_(Program(), "winspool.drv", "WritePrinter", Fn(&RecordWrite)),
      endPage_(Program(), "winspool.drv", "EndPagePrinter", Fn(&RecordEndPage)),
      endDoc_(Program(), "winspool.drv", "EndDocPrinter", Fn(&RecordEndDoc)),
      globalAlloc_(Program(), "kernel32.dll", "GlobalAlloc", Fn(&MaybeFailGlobalAlloc)),
      documentProperties_(Program(), "winspool.drv", "DocumentPropertiesW", Fn(&FakeDocumentProperties)),
      read_(Program(), "kernel32.dll", "ReadFile", Fn(&MaybeFailRead)) {
    current = this;
    realOpen = open_.original<decltype(realOpen)>();
    realStartDoc = startDoc_.original<decltype(realStartDoc)>();
    realWrite = write_.original<decltype(realWrite)>();
    realEndPage = endPage_.original<decltype(realEndPage)>();
    realEndDoc = endDoc_.original<decltype(realEndDoc)>();
    realGlobalAlloc = globalAlloc_.original<decltype(realGlobalAlloc)>();
    realDocumentProperties = documentProperties_.original<decltype(realDocumentProperties)>();
    realRead = read_.original<decltype(realRead)>();
}

JobRecorder::~JobRecorder() { current = nullptr; }
