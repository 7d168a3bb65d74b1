// The printer name that OEMStartVendorSetup takes from rundll32's command line.
#include <gtest/gtest.h>

#include <string>

#include "setup/VendorSetupCommandLine.h"

namespace {

// The name found, or "<none>" when the line names no printer.
std::wstring NameIn(const char *line) {
    WCHAR name[kTextChars];
    if (!PrinterNameFromCommandLine(line, name)) {
        EXPECT_EQ(L'\0', name[0]);
        return L"<none>";
    }
    return name;
}

TEST(VendorSetupCommandLine, TakesTheTextBetweenTheLastTwoQuotes) {
    EXPECT_EQ(L"Skrivare 1", NameIn("\"Skrivare 1\""));
    EXPECT_EQ(L"Skrivare 2", NameIn("\"C:\\Program Files\\x.exe\" /s \"Skrivare 2\" 7"));
    EXPECT_EQ(L"", NameIn("\"\""));
    // ANSI text as rundll32 passes it on.
    EXPECT_EQ(L"Bl\u00e4ck \u00e5", NameIn("\"Bl\xE4" "ck \xE5\""));
}

TEST(VendorSetupCommandLine, NamesNoPrinterWithoutTwoQuotes) {
    EXPECT_EQ(L"<none>", NameIn(nullptr));
    EXPECT_EQ(L"<none>", NameIn(""));
    EXPECT_EQ(L"<none>", NameIn("Skrivare 1"));
    EXPECT_EQ(L"<none>", NameIn("\"Skrivare 1"));
    EXPECT_EQ(L"<none>", NameIn("Skrivare 1\""));
}

TEST(VendorSetupCommandLine, RefusesALineLongerThanItsBuffer) {
    // 259 characters with the terminator fit; one more is refused whole rather than cut.
    const std::string name(257, 'x');
    EXPECT_EQ(std::wstring(name.begin(), name.end()), NameIn(("\"" + name + "\"").c_str()));
    EXPECT_EQ(L"<none>", NameIn(("\"" + name + "x\"").c_str()));
    // Far longer lines, with the quotes at the end where a cut would have lost them or inside the
    // part a cut would have kept, name no printer and write nothing beyond the buffer.
    EXPECT_EQ(L"<none>", NameIn((std::string(5000, 'y') + "\"Skrivare 1\"").c_str()));
    EXPECT_EQ(L"<none>", NameIn(("\"Skrivare 1\"" + std::string(5000, 'y')).c_str()));
}

}  // namespace
