// P2 maintenance print: PrintFileJob sending a 64 MB print file through its 2048-byte buffer to a
// printer on a file port, against the same platform calls made bare (the one-copy devmode, the job
// and its settings, the framing packets, the file read and written in 2048-byte pieces) to a printer
// on a port of the same kind. Throughput of the job over that of the bare calls, the ratio of the
// medians of nine runs each, taken in turns. For information, the same file read whole and handed to
// the spooler in one WritePrinter.
#include "Bench.h"
#include "CallCensus.h"

#include <stddef.h>
#include <stdio.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "jobs/PrintFileJob.h"
#include "testbed/ImportPatch.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/WinePaths.h"

namespace {

constexpr DWORD kFileBytes = 64u << 20;
constexpr DWORD kFramingBytes = sizeof kJobStartPacket + sizeof kJobOpenPacket + sizeof kJobClosePacket;
constexpr DWORD kTransferBytes = 2048;
constexpr int kRuns = 9;
constexpr double kTarget = 0.9;

// Wine's spooler faults inside SetJobW at level 2; the job's priority and position do not change the
// bytes or the time to send them.
BOOL WINAPI AcceptJobSettings(HANDLE, DWORD, DWORD, LPBYTE, DWORD) { return TRUE; }

ULONGLONG FileBytes(const std::wstring &path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool WritePrintFile(const std::wstring &path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string chunk(1 << 20, '\0');
    bool ok = true;
    for (DWORD written = 0, block = 0; ok && written < kFileBytes; written += static_cast<DWORD>(chunk.size()), ++block) {
        for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>((i * 7 + block) & 0xFF);
        DWORD put = 0;
        ok = WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &put, nullptr) && put == chunk.size();
    }
    CloseHandle(file);
    return ok;
}

// The file read whole and sent as one raw job in one write. Seconds, or negative on failure.
double BulkJob(const std::wstring &printer, const std::wstring &path, BYTE *buffer) {
    const double begin = NowSeconds();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD got = 0;
    const BOOL read = ReadFile(file, buffer, kFileBytes, &got, nullptr);
    CloseHandle(file);
    if (!read || got != kFileBytes) return -1;
    PRINTER_DEFAULTSW defaults = {const_cast<LPWSTR>(L"RAW"), nullptr, PRINTER_ACCESS_USE};
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, &defaults)) return -1;
    DOC_INFO_1W document = {const_cast<LPWSTR>(L"Bulk"), nullptr, const_cast<LPWSTR>(L"RAW")};
    bool ok = StartDocPrinterW(handle, 1, reinterpret_cast<LPBYTE>(&document)) != 0;
    DWORD written = 0;
    if (ok) {
        StartPagePrinter(handle);
        ok = WritePrinter(handle, buffer, kFileBytes, &written) && written == kFileBytes;
        EndPagePrinter(handle);
        EndDocPrinter(handle);
    }
    ClosePrinter(handle);
    return ok ? NowSeconds() - begin : -1;
}

// Where the job's time goes, piece by piece: the file read in 2048-byte pieces alone, and a raw job
// of the same bytes handed over from memory in 2048-byte writes.
double ChunkedReads(const std::wstring &path, BYTE *buffer) {
    const double begin = NowSeconds();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD got = 0, total = 0;
    while (ReadFile(file, buffer, 2048, &got, nullptr) && got) total += got;
    CloseHandle(file);
    return total == kFileBytes ? NowSeconds() - begin : -1;
}

double ChunkedWriteJob(const std::wstring &printer, BYTE *buffer) {
    const double begin = NowSeconds();
    PRINTER_DEFAULTSW defaults = {const_cast<LPWSTR>(L"RAW"), nullptr, PRINTER_ACCESS_USE};
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, &defaults)) return -1;
    DOC_INFO_1W document = {const_cast<LPWSTR>(L"Chunks"), nullptr, const_cast<LPWSTR>(L"RAW")};
    bool ok = StartDocPrinterW(handle, 1, reinterpret_cast<LPBYTE>(&document)) != 0;
    if (ok) {
        StartPagePrinter(handle);
        for (DWORD offset = 0; ok && offset < kFileBytes; offset += 2048) {
            DWORD written = 0;
            ok = WritePrinter(handle, buffer + offset, 2048, &written) && written == 2048;
        }
        EndPagePrinter(handle);
        EndDocPrinter(handle);
    }
    ClosePrinter(handle);
    return ok ? NowSeconds() - begin : -1;
}

// The job's settings as the job changes them: the record's size, the record, the changed record.
void BareAdjustJob(HANDLE printer, DWORD jobId, bool placeFirst) {
    DWORD needed = 0;
    GetJobW(printer, jobId, 2, nullptr, 0, &needed);
    if (needed < sizeof(JOB_INFO_2W)) return;
    auto *job = static_cast<JOB_INFO_2W *>(GlobalAlloc(GMEM_FIXED, needed));
    if (!job) return;
    if (GetJobW(printer, jobId, 2, reinterpret_cast<LPBYTE>(job), needed, &needed)) {
        job->Priority = kPrintJobPriority;
        if (placeFirst) job->Position = 1;
        SetJobW(printer, jobId, 2, reinterpret_cast<LPBYTE>(job), 0);
    }
    GlobalFree(job);
}

// The platform calls of PrintFileJob made bare, in its order: the printer's devmode asked for and set
// to one copy, the printer opened with it, the file, the job with its settings, the framing packets
// around the file's bytes read and written in 2048-byte pieces. Seconds, or negative on failure.
double BareJob(const std::wstring &printer, const std::wstring &path) {
    const double begin = NowSeconds();
    LPWSTR name = const_cast<LPWSTR>(printer.c_str());
    DEVMODEW *devmode = nullptr;
    PRINTER_DEFAULTSW administer = {const_cast<LPWSTR>(L"RAW"), nullptr, PRINTER_ACCESS_ADMINISTER};
    HANDLE handle = nullptr;
    if (OpenPrinterW(name, &handle, &administer)) {
        const LONG size = DocumentPropertiesW(nullptr, handle, name, nullptr, nullptr, 0);
        if (size >= static_cast<LONG>(offsetof(DEVMODEW, dmCopies) + sizeof(short))) {
            auto *block = static_cast<DEVMODEW *>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size));
            if (block && DocumentPropertiesW(nullptr, handle, name, block, nullptr, DM_OUT_BUFFER) >= 0) {
                block->dmCopies = 1;
                if (DocumentPropertiesW(nullptr, handle, name, block, block, DM_IN_BUFFER | DM_OUT_BUFFER) >= 0)
                    devmode = block;
            }
            if (block && !devmode) GlobalFree(block);
        }
        ClosePrinter(handle);
    }
    PRINTER_DEFAULTSW defaults = {const_cast<LPWSTR>(L"RAW"), devmode, PRINTER_ACCESS_USE};
    if (!OpenPrinterW(name, &handle, &defaults)) return -1;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    BYTE *buffer = static_cast<BYTE *>(GlobalAlloc(GMEM_FIXED, kTransferBytes));
    DOC_INFO_1W document = {const_cast<LPWSTR>(kPrintJobDocumentName), nullptr, const_cast<LPWSTR>(L"RAW")};
    const DWORD jobId = file != INVALID_HANDLE_VALUE && buffer ? StartDocPrinterW(handle, 1, reinterpret_cast<LPBYTE>(&document)) : 0;
    bool ok = jobId != 0;
    if (ok) {
        BareAdjustJob(handle, jobId, false);
        StartPagePrinter(handle);
        DWORD written = 0, got = 0;
        WritePrinter(handle, const_cast<BYTE *>(kJobStartPacket), sizeof kJobStartPacket, &written);
        WritePrinter(handle, const_cast<BYTE *>(kJobOpenPacket), sizeof kJobOpenPacket, &written);
        while (ok && ReadFile(file, buffer, kTransferBytes, &got, nullptr) && got > 0)
            ok = WritePrinter(handle, buffer, got, &written) && written == got;
        WritePrinter(handle, const_cast<BYTE *>(kJobClosePacket), sizeof kJobClosePacket, &written);
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (devmode) GlobalFree(devmode);
    if (buffer) GlobalFree(buffer);
    if (jobId) {
        EndPagePrinter(handle);
        BareAdjustJob(handle, jobId, true);
        EndDocPrinter(handle);
    }
    ClosePrinter(handle);
    return ok ? NowSeconds() - begin : -1;
}

double PluginJob(const std::wstring &printer, const std::wstring &path) {
    const double begin = NowSeconds();
    const BOOL sent = PrintFileJob(printer.c_str(), path.c_str());
    return sent ? NowSeconds() - begin : -1;
}

// The baseline must make the job's platform calls, no more and no fewer: counted on a small file.
CENSUS_FUNCTION bool SameCalls(PrinterEnvironment &env, const std::wstring &dir) {
    const std::wstring small = dir + L"zvaasmall.out";
    const std::wstring jobPrinter = env.AddTestPrinter();
    const std::wstring barePrinter = env.AddTestPrinter();
    env.WriteFileAt(small, std::string(20000, 'z'));
    std::vector<long> own, bare;
    bool sent = false;
    {
        CallCensus census({GetModuleHandleW(nullptr)});
        sent = PluginJob(jobPrinter, small) > 0;
        own = census.Counts();
        census.Reset();
        sent = BareJob(barePrinter, small) > 0 && sent;
        bare = census.Counts();
    }
    DeleteFileW(WindowsPathOf(env.PortOf(jobPrinter)).c_str());
    DeleteFileW(WindowsPathOf(env.PortOf(barePrinter)).c_str());
    env.DeletePrinterNamed(jobPrinter);
    env.DeletePrinterNamed(barePrinter);
    if (!sent || own != bare) {
        printf("P2 maintenance print: the bare calls differ from the job's: job %s; bare %s\n",
               CallCensus::Describe(own).c_str(), CallCensus::Describe(bare).c_str());
        return false;
    }
    printf("P2 maintenance print: the same platform calls in the job and its bare calls (a 20,000-byte file): %s\n",
           CallCensus::Describe(own).c_str());
    return true;
}

}  // namespace

bool BenchPrintJob() {
    ImportPatch jobSettings(GetModuleHandleW(nullptr), "winspool.drv", "SetJobW",
                            reinterpret_cast<const void *>(&AcceptJobSettings));
    if (jobSettings.slots() == 0) {
        printf("P2 maintenance print: the job's SetJobW could not be answered here; not run under Wine\n");
        return false;
    }
    PrinterEnvironment env;
    const std::wstring dir = env.ScratchDir();
    const std::wstring path = dir + L"zvaabench.out";
    BYTE *buffer = static_cast<BYTE *>(VirtualAlloc(nullptr, kFileBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (dir.empty() || !buffer || !WritePrintFile(path)) {
        printf("P2 maintenance print: the 64 MB print file could not be prepared\n");
        if (buffer) VirtualFree(buffer, 0, MEM_RELEASE);
        return false;
    }

    if (!SameCalls(env, dir)) {
        DeleteFileW(path.c_str());
        VirtualFree(buffer, 0, MEM_RELEASE);
        return false;
    }

    // In turns, each first in every other run, each job on a printer of its own; then the bulk write.
    std::vector<double> plugin, bare, bulk;
    bool exact = true;
    for (int run = 0; run < kRuns && exact; ++run) {
        const std::wstring jobPrinter = env.AddTestPrinter();
        const std::wstring barePrinter = env.AddTestPrinter();
        const std::wstring bulkPrinter = env.AddTestPrinter();
        double p, b;
        if (run % 2 == 0) {
            p = PluginJob(jobPrinter, path);
            b = BareJob(barePrinter, path);
        } else {
            b = BareJob(barePrinter, path);
            p = PluginJob(jobPrinter, path);
        }
        const double w = BulkJob(bulkPrinter, path, buffer);
        const std::wstring jobPort = WindowsPathOf(env.PortOf(jobPrinter));
        const std::wstring barePort = WindowsPathOf(env.PortOf(barePrinter));
        const std::wstring bulkPort = WindowsPathOf(env.PortOf(bulkPrinter));
        exact = p > 0 && b > 0 && w > 0 && FileBytes(jobPort) == kFileBytes + kFramingBytes &&
                FileBytes(barePort) == kFileBytes + kFramingBytes && FileBytes(bulkPort) == kFileBytes;
        DeleteFileW(jobPort.c_str());
        DeleteFileW(barePort.c_str());
        DeleteFileW(bulkPort.c_str());
        env.DeletePrinterNamed(jobPrinter);
        env.DeletePrinterNamed(barePrinter);
        env.DeletePrinterNamed(bulkPrinter);
        plugin.push_back(p);
        bare.push_back(b);
        bulk.push_back(w);
    }
    // The same bytes in 2048-byte pieces without the job around them: reads alone, writes alone.
    double reads = -1, chunked = -1;
    if (exact) {
        const std::wstring chunkPrinter = env.AddTestPrinter();
        reads = ChunkedReads(path, buffer);
        chunked = ChunkedWriteJob(chunkPrinter, buffer);
        DeleteFileW(WindowsPathOf(env.PortOf(chunkPrinter)).c_str());
    }
    DeleteFileW(path.c_str());
    VirtualFree(buffer, 0, MEM_RELEASE);
    if (!exact) {
        printf("P2 maintenance print: a job failed or its port did not receive every byte\n");
        return false;
    }
    // Throughput of the job over that of the same calls bare, and (for information) of the bulk write.
    const double job = Median(plugin), calls = Median(bare), whole = Median(bulk);
    const double ratio = calls / job;
    printf("P2 maintenance print: 64 MB to a file port (medians of %d): PrintFileJob %.0f ms (%.0f MB/s), its "
           "calls bare %.0f ms (%.0f MB/s), one bulk WritePrinter %.0f ms (%.0f MB/s)\n",
           kRuns, job * 1000, 64 / job, calls * 1000, 64 / calls, whole * 1000, 64 / whole);
    if (reads > 0 && chunked > 0) {
        printf("P2 maintenance print: the same bytes in 32,768 pieces of 2048: reads alone %.0f ms (%.1f us each), "
               "a raw job of 2048-byte writes from memory %.0f ms (%.1f us a write more than the bulk job)\n",
               reads * 1000, reads * 1e6 / 32768, chunked * 1000, (chunked - whole) * 1e6 / 32768);
    }
    printf("P2 throughput vs one bulk write     %10.3f x   (information, not judged)\n", whole / job);
    Report({"P2 throughput vs its bare calls", ratio, "x", ">= 0.9", ratio >= kTarget});
    return ratio >= kTarget;
}
