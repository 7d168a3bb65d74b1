// The cleaning and alignment prints: the file chosen for the installed pair, reaching the printer's
// port framed by the packets, and the retry prompt answered through the dialog robot.
#include <gtest/gtest.h>

#include <string>

#include "JobRecorder.h"
#include "jobs/MaintenancePrints.h"
#include "state/PrinterStateKey.h"
#include "testbed/DialogRobot.h"
#include "testbed/PortFile.h"
#include "testbed/PrinterEnvironment.h"

namespace {

// What each print file holds in these tests: its own name.
std::string ContentOf(const wchar_t *name) {
    std::string s;
    for (const wchar_t *p = name; *p; ++p) s.push_back(static_cast<char>(*p));
    return "<" + s + ">";
}

class MaintenancePrintsTest : public testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t *name : {L"zvaacln1.out", L"zvaacln3.out", L"zvaacln4.out", L"zvaacln6.out",
                                    L"zvaaalg1.out", L"zvaaalg3.out", L"zvaaalg4.out", L"zvaaalg6.out"})
            env.WriteDriverFile(name, ContentOf(name));
    }
    std::wstring PrinterWith(CartridgeType left, CartridgeType right) {
        const std::wstring printer = env.AddTestPrinter();
        EXPECT_TRUE(WriteCartridges(printer.c_str(), left, right));
        return printer;
    }

    PrinterEnvironment env;
};

TEST_F(MaintenancePrintsTest, BlackAndColourCleaningSendsExactlyThePacketsAroundItsFile) {
    const std::wstring printer = PrinterWith(kCartColour, kCartBlack);
    JobRecorder recorder;
    EXPECT_EQ(1, PrintCleaningPage(nullptr, printer.c_str()));
    EXPECT_EQ(FramedJob("<zvaacln4.out>"), env.ReadPortBytes(printer));
}

TEST_F(MaintenancePrintsTest, ChoosesTheFileOfTheInstalledPair) {
    const struct {
        CartridgeType left, right;
        const char *cleaning, *alignment;
    } pairs[] = {
        {kCartColour, kCartNone, "<zvaacln3.out>", "<zvaaalg3.out>"},
        {kCartColourHigh, kCartBlackHigh, "<zvaacln4.out>", "<zvaaalg4.out>"},
        {kCartColour, kCartPhoto, "<zvaacln6.out>", "<zvaaalg6.out>"},
        {kCartNone, kCartBlack, "<zvaacln1.out>", "<zvaaalg1.out>"},
        {kCartBlack, kCartBlack, "<zvaacln1.out>", "<zvaaalg1.out>"},  // an invalid pair: the black-only files
    };
    JobRecorder recorder;
    for (const auto &pair : pairs) {
        SCOPED_TRACE(pair.cleaning);
        const std::wstring cleaning = PrinterWith(pair.left, pair.right);
        EXPECT_EQ(1, PrintCleaningPage(nullptr, cleaning.c_str()));
        EXPECT_EQ(FramedJob(pair.cleaning), env.ReadPortBytes(cleaning));
        const std::wstring alignment = PrinterWith(pair.left, pair.right);
        EXPECT_EQ(1, PrintAlignmentPage(nullptr, alignment.c_str()));
        EXPECT_EQ(FramedJob(pair.alignment), env.ReadPortBytes(alignment));
    }
}

TEST_F(MaintenancePrintsTest, APairThatCannotBeReadPrintsTheBlackOnlyPage) {
    const std::wstring printer = env.AddTestPrinter();  // no state key written
    JobRecorder recorder;
    EXPECT_EQ(1, PrintAlignmentPage(nullptr, printer.c_str()));
    EXPECT_EQ(FramedJob("<zvaaalg1.out>"), env.ReadPortBytes(printer));
}

TEST_F(MaintenancePrintsTest, RetryTriesTheSameFileAgain) {
    const std::wstring printer = PrinterWith(kCartColour, kCartPhoto);
    JobRecorder recorder;
    recorder.refuseDocument = true;
    HWND owner = CreateWindowExW(0, L"STATIC", L"sida", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    DialogRobot robot;
    robot.Next([&](DialogView &box) {
        EXPECT_TRUE(box.IsMessageBox());
        EXPECT_EQ(L"Fel vid rensning av munstycken", box.Title());
        EXPECT_EQ(L"Fel vid rensning av munstycken", box.MessageText());
        EXPECT_EQ(owner, box.Owner());
        EXPECT_TRUE(box.Has(IDRETRY));
        EXPECT_TRUE(box.Has(IDCANCEL));
        EXPECT_FALSE(box.Has(IDOK));
        recorder.refuseDocument = false;  // the printer is back
        box.Press(IDRETRY);
    });
    EXPECT_EQ(1, PrintCleaningPage(owner, printer.c_str()));
    DestroyWindow(owner);
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    ASSERT_EQ(2u, recorder.docStarts.size());
    EXPECT_EQ(FramedJob("<zvaacln6.out>"), env.ReadPortBytes(printer));
}

TEST_F(MaintenancePrintsTest, CancelEndsThePromptAndTheAlignmentPrintReportsIt) {
    const std::wstring printer = env.AddTestPrinter(L"", L"", L"");
    ASSERT_TRUE(WriteCartridges(printer.c_str(), kCartColour, kCartBlack));
    JobRecorder recorder;
    recorder.refuseDocument = true;
    DialogRobot robot;
    robot.Next([](DialogView &box) {
        EXPECT_EQ(L"Fel vid justering av bläckpatroner", box.MessageText());
        EXPECT_EQ(L"Fel vid justering av bläckpatroner", box.Title());
        box.Press(IDRETRY);
    });
    robot.Next([](DialogView &box) { box.Press(IDCANCEL); });
    EXPECT_EQ(0, PrintAlignmentPage(nullptr, printer.c_str()));
    EXPECT_EQ(2u, recorder.docStarts.size()) << "the first try and one retry";
    robot.Next([](DialogView &box) {
        EXPECT_EQ(L"Fel vid rensning av munstycken", box.MessageText());
        box.CloseBox();
    });
    EXPECT_EQ(1, PrintCleaningPage(nullptr, printer.c_str())) << "the cleaning print reports nothing";
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(0u, robot.Unexpected());
    EXPECT_EQ("", env.ReadPortBytes(printer));
}

TEST_F(MaintenancePrintsTest, AReadErrorLeadsToThePromptAndRetryPrintsTheWholeFile) {
    const std::wstring printer = PrinterWith(kCartColour, kCartBlack);
    JobRecorder recorder;
    recorder.readsBeforeFailure = 0;
    DialogRobot robot;
    robot.Next([&](DialogView &box) {
        EXPECT_EQ(L"Fel vid justering av bl\u00E4ckpatroner", box.MessageText());
        recorder.readsBeforeFailure = -1;
        box.Press(IDRETRY);
    });
    EXPECT_EQ(1, PrintAlignmentPage(nullptr, printer.c_str()));
    recorder.readsBeforeFailure = -1;
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(2u, recorder.docStarts.size());
    EXPECT_EQ(FramedJob("<zvaaalg4.out>"), env.ReadPortBytes(printer)) << "the whole job, after the cut one";
}

TEST_F(MaintenancePrintsTest, AMissingFileLeadsToThePrompt) {
    const std::wstring printer = PrinterWith(kCartColour, kCartBlack);
    env.WriteDriverFile(L"zvaaalg4.out", "");
    DeleteFileW((env.DriverFilesDir() + L"zvaaalg4.out").c_str());
    JobRecorder recorder;
    DialogRobot robot;
    robot.Next([&](DialogView &box) {
        env.WriteDriverFile(L"zvaaalg4.out", "igen");
        box.Press(IDRETRY);
    });
    EXPECT_EQ(1, PrintAlignmentPage(nullptr, printer.c_str()));
    EXPECT_EQ(0u, robot.Pending());
    EXPECT_EQ(FramedJob("igen"), env.ReadPortBytes(printer));
}

}  // namespace
