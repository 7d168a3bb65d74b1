// The test bed itself: a printer made here is real to the spooler, its port file receives raw jobs,
// and teardown leaves nothing behind.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include "testbed/PrinterEnvironment.h"

namespace {

std::wstring IniValue(const std::wstring &path, const wchar_t *section, const wchar_t *key) {
    WCHAR value[MAX_PATH] = {};
    GetPrivateProfileStringW(section, key, L"", value, ARRAYSIZE(value), path.c_str());
    return value;
}

bool FileExists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool DriverInstalled(const std::wstring &driver) {
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, nullptr, 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrinterDriversW(nullptr, nullptr, 1, buffer.data(), needed, &needed, &count)) return false;
    auto *info = reinterpret_cast<DRIVER_INFO_1W *>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (driver == info[i].pName) return true;
    return false;
}

void SendRawJob(const std::wstring &printer, const std::string &bytes) {
    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr));
    DOC_INFO_1W doc = {const_cast<LPWSTR>(L"prov"), nullptr, const_cast<LPWSTR>(L"RAW")};
    EXPECT_NE(0u, StartDocPrinterW(handle, 1, reinterpret_cast<LPBYTE>(&doc)));
    DWORD written = 0;
    EXPECT_TRUE(WritePrinter(handle, const_cast<char *>(bytes.data()), (DWORD)bytes.size(), &written));
    EXPECT_TRUE(EndDocPrinter(handle));
    ClosePrinter(handle);
}

}  // namespace

TEST(PrinterEnvironment, PrinterOnAUnixFilePortReceivesRawJobBytes) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    ASSERT_FALSE(printer.empty());
    EXPECT_EQ(L'/', env.PortOf(printer)[0]);
    EXPECT_TRUE(DriverInstalled(env.DriverName()));

    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr));
    DWORD needed = 0;
    GetPrinterW(handle, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterW(handle, 2, buffer.data(), needed, &needed));
    ClosePrinter(handle);
    auto *info = reinterpret_cast<PRINTER_INFO_2W *>(buffer.data());
    EXPECT_EQ(env.DriverName(), info->pDriverName);
    EXPECT_EQ(env.PortOf(printer), info->pPortName);

    SendRawJob(printer, std::string("\x1b*\x07" "e\0data", 8));
    EXPECT_EQ(std::string("\x1b*\x07" "e\0data", 8), env.ReadPortBytes(printer));
}

TEST(PrinterEnvironment, WritesDriverIniFilesAndTheConfigurationIni) {
    PrinterEnvironment env;
    const std::wstring ini = env.WriteOwnDriverIni(L"CART_STD=Färg å\n[Strings.041D]\nORDER_URL=x\n");
    ASSERT_FALSE(ini.empty());
    EXPECT_EQ(0u, ini.find(env.DriverFilesDir()));
    EXPECT_EQ(env.DriverName(), IniValue(ini, L"OEMFiles", L"OEMDriverName"));
    EXPECT_EQ(L"Färg å", IniValue(ini, L"OEMFiles", L"CART_STD"));
    EXPECT_EQ(L"x", IniValue(ini, L"Strings.041D", L"ORDER_URL"));

    const std::wstring config = env.WriteConfigIni(L"[OEMConfig]\nDefaultPrinter=0\n");
    EXPECT_EQ(PrinterEnvironment::SystemDir() + L"zvaaPLC.INI", config);
    EXPECT_EQ(L"0", IniValue(config, L"OEMConfig", L"DefaultPrinter"));

    const std::wstring print = env.WriteDriverFile(L"zvaacln4.out", "ABC");
    EXPECT_TRUE(FileExists(print));
}

TEST(PrinterEnvironment, TeardownRemovesPrintersDriversFilesAndStateKeys) {
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring renamed = env.AddTestPrinter();
    ASSERT_FALSE(renamed.empty());
    SendRawJob(printer, "x");
    const std::wstring port = env.PortOf(printer);
    const std::wstring ini = env.WriteOwnDriverIni();
    const std::wstring scratch = env.WriteFileAt(env.ScratchDir() + L"f.bin", "1");
    const std::wstring stateName = env.DriverName() + L" " + port;
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(stateName).c_str(), 0,
                                             nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr));
    RegCloseKey(key);

    env.Teardown();
    EXPECT_FALSE(env.PrinterExists(printer));
    EXPECT_FALSE(env.PrinterExists(renamed));
    EXPECT_FALSE(DriverInstalled(env.DriverName()));
    EXPECT_FALSE(FileExists(ini));
    EXPECT_FALSE(FileExists(scratch));
    EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(stateName));
    EXPECT_TRUE(env.ReadPortBytes(printer).empty());
}

TEST(PrinterEnvironment, TeardownPutsTheDefaultPrinterBack) {
    const std::wstring before = PrinterEnvironment::DefaultPrinter();
    {
        PrinterEnvironment env;
        env.LockShared();
        const std::wstring printer = env.AddTestPrinter();
        ASSERT_TRUE(SetDefaultPrinterW(printer.c_str()));
        EXPECT_EQ(printer, PrinterEnvironment::DefaultPrinter());
    }
    EXPECT_EQ(before, PrinterEnvironment::DefaultPrinter());
}
