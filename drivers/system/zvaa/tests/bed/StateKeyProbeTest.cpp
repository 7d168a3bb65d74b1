// The test bed's state-key probe and port files, which black-box tests and the driver-UI host look at
// the plug-in's work with: a printer's key found from its printer data (or the "OFN1" key when it has
// none), values written, read back whole, and the key removed; a port
// file's bytes read and emptied through the Unix path the printer was given.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "testbed/InkCounterNames.h"
#include "testbed/PortFile.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/PrinterStateFixture.h"
#include "testbed/StateKeyProbe.h"
#include "testbed/WinePaths.h"

TEST(StateKeyProbe, FindsReadsWritesAndRemovesAPrintersKey) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_FALSE(printer.empty());
    // Without printer data the plug-in's key is the shared one; the probe names it as the plug-in does.
    EXPECT_EQ(L"Software\\Zelvorn\\OFN1", StateKeyPathOf(printer));
    EXPECT_EQ(L"", StateKeyPathOf(L"Ingen s\u00e5dan skrivare " + env.Tag()));

    PrinterStateFixture state(env, printer);
    ASSERT_TRUE(state.Install(3, 2, 777));
    const std::wstring path = StateKeyPathOf(printer);
    EXPECT_EQ(state.KeyPath(), path);
    EXPECT_TRUE(StateKeyPresent(path));

    std::map<std::wstring, StateKeyValue> byName;
    for (const StateKeyValue &value : ReadStateKeyValues(path)) byName[value.name] = value;
    EXPECT_EQ(3u + kInkCounterCount + 10u, byName.size());
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), byName[L"CartLeft"].type);
    EXPECT_EQ(std::string("\x03\0\0\0", 4), byName[L"CartLeft"].bytes);
    for (const wchar_t *counter : kInkCounterNames) {
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), byName[counter].type) << counter;
        EXPECT_EQ(std::string("\x09\x03\0\0", 4), byName[counter].bytes) << counter;
    }

    // Into a key that is there only, unless asked to make it.
    const DWORD lowered = 5;
    EXPECT_TRUE(WriteStateKeyValue(path, L"LevelY", REG_DWORD, &lowered, sizeof lowered));
    EXPECT_EQ(5, state.Get(L"LevelY"));
    const std::wstring absent = StateKeyPath(L"Ingen nyckel " + env.Tag());
    EXPECT_FALSE(WriteStateKeyValue(absent, L"LevelY", REG_DWORD, &lowered, sizeof lowered));
    EXPECT_FALSE(StateKeyPresent(absent));
    EXPECT_TRUE(WriteStateKeyValue(absent, L"LevelY", REG_DWORD, &lowered, sizeof lowered, StateKeyOpen::kCreate));
    DWORD type = 0;
    std::string bytes;
    EXPECT_TRUE(ReadStateKeyValue(absent, L"LevelY", &type, &bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(std::string("\x05\0\0\0", 4), bytes);
    DeleteStateKey(L"Ingen nyckel " + env.Tag());
    EXPECT_FALSE(StateKeyPresent(absent));

    EXPECT_TRUE(DeleteStateKeyValue(path, L"LevelY"));
    EXPECT_FALSE(ReadStateKeyValue(path, L"LevelY", nullptr, nullptr));
    EXPECT_FALSE(DeleteStateKeyValue(path, L"LevelY"));
    DeleteStateKey(state.FriendlyName());
    EXPECT_FALSE(StateKeyPresent(path));
    EXPECT_TRUE(ReadStateKeyValues(path).empty());
}

TEST(PortFile, IsReadAndEmptiedThroughItsUnixPath) {
    PrinterEnvironment env;
    const std::wstring port = env.NewPortPath();
    ASSERT_EQ(L'/', port[0]);
    const std::wstring windowsPath = WindowsPathOf(port);
    EXPECT_NE(L'/', windowsPath[0]);
    EXPECT_EQ(L"C:\\a b", WindowsPathOf(L"C:\\a b"));  // not a Unix path: as it is

    EXPECT_EQ("", ReadPortFile(port));
    ASSERT_FALSE(env.WriteFileAt(windowsPath, std::string("\x1b" "E\0\xff", 4)).empty());
    EXPECT_EQ(std::string("\x1b" "E\0\xff", 4), ReadPortFile(port));
    EXPECT_TRUE(ClearPortFile(port));
    EXPECT_EQ("", ReadPortFile(port));
    EXPECT_EQ("", ReadPortFile(L""));
}
