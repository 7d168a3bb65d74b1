// The raw print job on Wine's spooler: the bytes read back from the printer's port file, the job's
// settings as the spooler was asked for them, and every way the job can fail.
#include <gtest/gtest.h>

#include <string>

#include "JobRecorder.h"
#include "jobs/PrintFileJob.h"
#include "support/HandleLedger.h"
#include "testbed/PrinterEnvironment.h"

namespace {

const std::string kStart("\xA5\x00\x05\x40\xE0\x83\x00\x01", 8);
const std::string kOpen("\xA5\x00\x06\x40\x05\x00\x00\x00\x00", 9);
const std::string kClose("\xA5\x00\x06\x40\x05\x01\x00\x00\x01", 9);

std::string Framed(const std::string &content) { return kStart + kOpen + content + kClose; }

// Bytes that show where they came from: every position has its own pattern.
std::string Content(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

class PrintFileJobTest : public testing::Test {
protected:
    void SetUp() override {
        printer = env.AddTestPrinter();
        ASSERT_FALSE(printer.empty());
    }
    std::wstring File(const std::string &bytes) { return env.WriteFileAt(env.ScratchDir() + L"job.out", bytes); }

    PrinterEnvironment env;
    std::wstring printer;
};

TEST_F(PrintFileJobTest, FramesTheFileWithTheThreeCommandPackets) {
    for (size_t size : {size_t(0), size_t(1), size_t(2048), size_t(5000)}) {
        SCOPED_TRACE(size);
        const std::wstring path = File(Content(size));
        const std::wstring fresh = env.AddTestPrinter();
        JobRecorder recorder;
        EXPECT_TRUE(PrintFileJob(fresh.c_str(), path.c_str()));
        EXPECT_EQ(Framed(Content(size)), env.ReadPortBytes(fresh));
        // An empty file still makes a job of the packets alone: 26 bytes.
        if (size == 0) {
            EXPECT_EQ(26u, env.ReadPortBytes(fresh).size());
        }
    }
}

TEST_F(PrintFileJobTest, AsksTheSpoolerForARawDocumentRaisedAndPlacedFirst) {
    const std::wstring path = File(Content(3000));
    JobRecorder recorder;
    HandleLedger ledger(HandleLedger::ProgramModule());
    ledger.Reset();

    EXPECT_TRUE(PrintFileJob(printer.c_str(), path.c_str()));

    EXPECT_TRUE(ledger.Balanced());
    ASSERT_EQ(1u, recorder.docStarts.size());
    EXPECT_EQ(1u, recorder.docStarts[0].level);
    EXPECT_EQ(L"Inkjet Download", recorder.docStarts[0].document);
    EXPECT_EQ(L"<null>", recorder.docStarts[0].output);
    EXPECT_EQ(L"RAW", recorder.docStarts[0].datatype);
    // Raised once the document has started, and at the end raised again and placed first.
    ASSERT_EQ(2u, recorder.jobChanges.size());
    for (const auto &change : recorder.jobChanges) {
        EXPECT_EQ(2u, change.level);
        EXPECT_EQ(0u, change.command);
        EXPECT_EQ(99u, change.priority);
        EXPECT_EQ(L"Inkjet Download", change.document) << "the record read back from the spooler";
    }
    EXPECT_NE(1u, recorder.jobChanges[0].position);
    EXPECT_EQ(1u, recorder.jobChanges[1].position);
    // The devmode is prepared through an administering handle, the job through a using one; Wine's
    // driver gives no devmode, so the job takes the printer's defaults.
    ASSERT_EQ(2u, recorder.opens.size());
    EXPECT_EQ(L"RAW", recorder.opens[0].datatype);
    EXPECT_EQ(DWORD(PRINTER_ACCESS_ADMINISTER), recorder.opens[0].access);
    EXPECT_FALSE(recorder.opens[0].hasDevmode);
    EXPECT_EQ(L"RAW", recorder.opens[1].datatype);
    EXPECT_EQ(DWORD(PRINTER_ACCESS_USE), recorder.opens[1].access);
    EXPECT_FALSE(recorder.opens[1].hasDevmode);
    EXPECT_EQ(1, recorder.endPages);
    EXPECT_EQ(1, recorder.endDocs);
}

TEST_F(PrintFileJobTest, SendsOneCopyWhenTheDriverAcceptsTheChangedDevmode) {
    const std::wstring path = File("x");
    JobRecorder recorder;
    recorder.driverGivesDevmode = true;
    recorder.driverCopies = 4;
    HandleLedger ledger(HandleLedger::ProgramModule());
    ledger.Reset();
    EXPECT_TRUE(PrintFileJob(printer.c_str(), path.c_str()));
    EXPECT_TRUE(ledger.Balanced()) << "the devmode block is freed";
    EXPECT_EQ(1, recorder.copiesOffered);
    ASSERT_EQ(2u, recorder.opens.size());
    EXPECT_TRUE(recorder.opens[1].hasDevmode);
    EXPECT_EQ(1, recorder.opens[1].copies);
    EXPECT_EQ(Framed("x"), env.ReadPortBytes(printer));

    // A driver that refuses the change: the job goes on with the printer's defaults, nothing leaks.
    recorder.opens.clear();
    recorder.refuseChangedDevmode = true;
    ledger.Reset();
    EXPECT_TRUE(PrintFileJob(printer.c_str(), path.c_str()));
    EXPECT_TRUE(ledger.Balanced());
    ASSERT_EQ(2u, recorder.opens.size());
    EXPECT_FALSE(recorder.opens[1].hasDevmode);
}

TEST_F(PrintFileJobTest, ContinuesPartialWritesUntilTheChunkIsGone) {
    const std::string content = Content(4500);
    const std::wstring path = File(content);
    JobRecorder recorder;
    recorder.writeLimit = 700;
    EXPECT_TRUE(PrintFileJob(printer.c_str(), path.c_str()));
    EXPECT_EQ(Framed(content), env.ReadPortBytes(printer));
    // The first chunk of 2048 bytes is offered as 2048, then 1348, 648.
    ASSERT_GE(recorder.writeSizes.size(), 5u);
    EXPECT_EQ(2048u, recorder.writeSizes[2]);
    EXPECT_EQ(1348u, recorder.writeSizes[3]);
    EXPECT_EQ(648u, recorder.writeSizes[4]);
}

TEST_F(PrintFileJobTest, AWriteThatTakesNothingEndsTheJobWithWhatWasSent) {
    const std::wstring path = File(Content(5000));
    JobRecorder recorder;
    recorder.writeLimit = 1000;
    recorder.writesBeforeZero = 4;  // two packets, 1000 + 1000 of the first chunk, then nothing
    HandleLedger ledger(HandleLedger::ProgramModule());
    ledger.Reset();
    SetLastError(0);
    EXPECT_FALSE(PrintFileJob(printer.c_str(), path.c_str()));
    EXPECT_EQ(DWORD(ERROR_WRITE_FAULT), GetLastError());
    EXPECT_TRUE(ledger.Balanced());
    EXPECT_EQ(1, recorder.endPages);
    EXPECT_EQ(1, recorder.endDocs) << "ended, not cancelled";
    EXPECT_TRUE(recorder.jobChanges.size() == 1u) << "not placed first after a failure";
    EXPECT_EQ(kStart + kOpen + Content(2000), env.ReadPortBytes(printer));
}

// A read that fails part of the way ends the page and the document and fails with the read's error;
// a command packet the printer does not take fails the job the same way as a refused chunk.
TEST_F(PrintFileJobTest, AFailedReadOrARefusedPacketEndsTheJobAsFailed) {
    const struct {
        const char *what;
        size_t size;
        int readsBeforeFailure, writesBeforeZero;
        DWORD error;
        std::string sent;
    } cases[] = {
        {"read error after the first chunk", 5000, 1, -1, ERROR_CRC, kStart + kOpen + Content(2048)},
        {"read error at once", 5000, 0, -1, ERROR_CRC, kStart + kOpen},
        {"start packet refused, empty file", 0, -1, 0, ERROR_WRITE_FAULT, ""},
        {"close packet refused", 100, -1, 3, ERROR_WRITE_FAULT, kStart + kOpen + Content(100)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring path = File(Content(c.size));
        const std::wstring fresh = env.AddTestPrinter();
        JobRecorder recorder;
        HandleLedger ledger(HandleLedger::ProgramModule());
        ledger.Reset();
        recorder.readsBeforeFailure = c.readsBeforeFailure;
        recorder.writesBeforeZero = c.writesBeforeZero;
        SetLastError(0);
        EXPECT_FALSE(PrintFileJob(fresh.c_str(), path.c_str()));
        EXPECT_EQ(c.error, GetLastError());
        recorder.readsBeforeFailure = recorder.writesBeforeZero = -1;
        EXPECT_TRUE(ledger.Balanced());
        EXPECT_EQ(1, recorder.endPages);
        EXPECT_EQ(1, recorder.endDocs) << "ended, not cancelled";
        EXPECT_EQ(1u, recorder.jobChanges.size()) << "not placed first after a failure";
        EXPECT_EQ(c.sent, env.ReadPortBytes(fresh));
    }
}

TEST_F(PrintFileJobTest, ReportsEachFailureWithItsCodeAndReleasesEverything) {
    const std::wstring path = File("abc");
    struct Case {
        const char *what;
        std::wstring printerName, filePath;
        void (*inject)(JobRecorder &);
        DWORD error;
    } cases[] = {
        {"no such printer", L"Ingen sådan skrivare", path, [](JobRecorder &) {}, ERROR_PRINTER_NOT_FOUND},
        {"no printer name", L"", path, [](JobRecorder &) {}, ERROR_PRINTER_NOT_FOUND},
        {"missing file", printer, env.ScratchDir() + L"saknas.out", [](JobRecorder &) {}, ERROR_FILE_NOT_FOUND},
        {"empty path", printer, L"", [](JobRecorder &) {}, ERROR_FILE_NOT_FOUND},
        {"no transfer buffer", printer, path, [](JobRecorder &r) { r.failTransferBuffer = true; }, ERROR_OUTOFMEMORY},
        {"document refused", printer, path, [](JobRecorder &r) { r.refuseDocument = true; }, ERROR_SPL_NO_STARTDOC},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        JobRecorder recorder;
        c.inject(recorder);
        HandleLedger ledger(HandleLedger::ProgramModule());
        ledger.Reset();
        SetLastError(0);
        EXPECT_FALSE(PrintFileJob(c.printerName.empty() ? nullptr : c.printerName.c_str(), c.filePath.c_str()));
        EXPECT_EQ(c.error, GetLastError());
        EXPECT_TRUE(ledger.Balanced());
        EXPECT_EQ(0, recorder.endDocs);
        EXPECT_TRUE(recorder.jobChanges.empty());
    }
    EXPECT_EQ("", env.ReadPortBytes(printer)) << "no job reached the port";
}

}  // namespace
