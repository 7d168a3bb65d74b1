// The driver package as `make package` writes it: its INF read by the platform's INF parser, then the
// package installed as the printer class installer would, used through the driver-UI host and removed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <algorithm>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "DriverUiHost.h"
#include "resources/ResourceIds.h"
#include "testbed/DialogRobot.h"
#include "testbed/InfInstaller.h"
#include "testbed/PortFile.h"
#include "testbed/PrinterInstall.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/StateKeyProbe.h"
#include "testbed/WinePaths.h"

namespace {

constexpr wchar_t kUnidrv[] = L"{D20EA372-DD35-4950-9ED8-A6335AFE79F0}";

// The package folder, Windows path ending in "\": the one make names in ZVAA_PACKAGE_DIR, else the example.
std::wstring PackageDir() {
    WCHAR named[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(L"ZVAA_PACKAGE_DIR", named, ARRAYSIZE(named));
    return WindowsPathOf(length && length < ARRAYSIZE(named) ? named : ZVAA_PACKAGE_DIR) + L"\\";
}

std::wstring IniValue(const std::wstring &path, const std::wstring &section, const wchar_t *key) {
    WCHAR value[MAX_PATH] = L"";
    GetPrivateProfileStringW(section.c_str(), key, L"", value, ARRAYSIZE(value), path.c_str());
    return value;
}

// A localised value of the driver INI as the plug-in looks it up for this prefix's user.
std::wstring LocalisedIniValue(const std::wstring &path, const wchar_t *key) {
    const LCID user = GetUserDefaultLCID(), system = GetSystemDefaultLCID();
    for (LCID language : {user & 0xFFFF, user & 0x3FF, system & 0xFFFF, system & 0x3FF}) {
        WCHAR section[32];
        swprintf(section, ARRAYSIZE(section), L"Strings.%04X", static_cast<unsigned>(language));
        const std::wstring value = IniValue(path, section, key);
        if (!value.empty()) return value;
    }
    return L"";
}

std::string GpdModelName(const std::wstring &path) {
    const std::string gpd = ReadFileBytes(path), entry = "*ModelName:";
    const size_t at = gpd.find(entry), open = gpd.find('"', at), close = gpd.find('"', open + 1);
    return at == std::string::npos || close == std::string::npos ? "" : gpd.substr(open + 1, close - open - 1);
}

std::wstring FileVersionOf(const std::wstring &path) {
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), nullptr) + 1);
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT size = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void **>(&fixed), &size) || !fixed)
        return L"";
    return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionLS));
}

// The optional header's magic: 0x10B for PE32, 0x20B for PE32+.
WORD PeMagic(const std::wstring &path) {
    const std::string image = ReadFileBytes(path);
    if (image.size() < 0x40) return 0;
    const LONG header = *reinterpret_cast<const LONG *>(image.data() + 0x3C);
    if (header < 0 || image.size() < static_cast<size_t>(header) + 26) return 0;
    return *reinterpret_cast<const WORD *>(image.data() + header + 24);
}

std::wstring Lower(std::wstring text) {
    for (wchar_t &c : text) c = towlower(c);
    return text;
}

// Every file under `dir`, as lower-case paths relative to it.
void ListFiles(const std::wstring &dir, const std::wstring &relative, std::set<std::wstring> *files) {
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstFileW((dir + relative + L"*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListFiles(dir, relative + name + L"\\", files);
        else files->insert(Lower(relative + name));
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
}

bool DriverInstalled(const std::wstring &driver, const wchar_t *environment) {
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, const_cast<LPWSTR>(environment), 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrinterDriversW(nullptr, const_cast<LPWSTR>(environment), 1, buffer.data(), needed, &needed, &count))
        return false;
    const auto *drivers = reinterpret_cast<const DRIVER_INFO_1W *>(buffer.data());
    return std::any_of(drivers, drivers + count, [&](const DRIVER_INFO_1W &d) { return d.pName && driver == d.pName; });
}

struct Architecture {
    const wchar_t *arch, *environment;
};
// The driver of this program's architecture, and on x64 the x86 additional driver beside it.
std::vector<Architecture> InstalledArchitectures() {
    if (sizeof(void *) == 8) return {{L"amd64", L"Windows x64"}, {L"x86", L"Windows NT x86"}};
    return {{L"x86", L"Windows NT x86"}};
}

}  // namespace

TEST(DriverPackage, TheInfNamesEveryFileOfBothArchitecturesAndOneVersion) {
    const std::wstring dir = PackageDir(), inf = dir + L"zvaa.inf";
    const std::wstring model = IniValue(dir + L"zvaa.ini", L"OEMFiles", L"OEMDriverName");
    ASSERT_FALSE(model.empty()) << "no package at " << std::string(dir.begin(), dir.end()) << " (make package)";
    std::set<std::wstring> named = {L"zvaa.inf", L"install.md"};
    for (const wchar_t *arch : {L"x86", L"amd64"}) {
        InfDriver driver;
        std::wstring error;
        ASSERT_TRUE(ReadInfDriver(inf, model, arch, &driver, &error)) << std::string(error.begin(), error.end());
        EXPECT_EQ(std::string(model.begin(), model.end()), GpdModelName(dir + driver.dataFile));
        EXPECT_NE(driver.files.end(), std::find(driver.files.begin(), driver.files.end(), driver.dataFile));
        for (size_t i = 0; i < driver.files.size(); ++i) {
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(driver.sources[i].c_str()))
                << std::string(driver.sources[i].begin(), driver.sources[i].end());
            named.insert(Lower(driver.sources[i].substr(dir.size())));
        }
        const std::wstring dll = dir + arch + L"\\zvaaSUI.dll";
        EXPECT_NE(driver.sources.end(), std::find(driver.sources.begin(), driver.sources.end(), dll));
        EXPECT_EQ(std::wstring(arch) == L"amd64" ? 0x20B : 0x10B, PeMagic(dll));
        EXPECT_EQ(IniValue(inf, L"Version", L"DriverVer").substr(11), FileVersionOf(dll));
    }
    std::set<std::wstring> present;
    ListFiles(dir, L"", &present);
    EXPECT_EQ(named, present) << "every file of the package is named by the INF, and every named one is there";

    const struct {
        const wchar_t *section, *key, *value;
    } entries[] = {{L"Version", L"Class", L"Printer"},
                   {L"Version", L"ClassGuid", L"{4D36E979-E325-11CE-BFC1-08002BE10318}"},
                   {L"Version", L"PnpLockdown", L"1"},
                   {L"Version", L"CatalogFile.NTx86", L"zvaa_x86.cat"},
                   {L"Version", L"CatalogFile.NTamd64", L"zvaa_amd64.cat"},
                   {L"PrinterPackageInstallation.x86", L"PackageAware", L"TRUE"},
                   {L"PrinterPackageInstallation.amd64", L"PackageAware", L"TRUE"},
                   {L"PrinterPackageInstallation.x86", L"CoreDriverDependencies", kUnidrv},
                   {L"PrinterPackageInstallation.amd64", L"CoreDriverDependencies", kUnidrv},
                   {L"DestinationDirs", L"DefaultDestDir", L"66000"}};
    for (const auto &entry : entries)
        EXPECT_EQ(entry.value, IniValue(inf, entry.section, entry.key)) << entry.section << L" " << entry.key;
    std::cout << "Not checked under Wine: InfVerif's rules, the catalogs (Inf2Cat, signature), CoreDriverSections "
                 "against the Unidrv core driver, the GPD by the platform's GPD parser.\n";
}

TEST(DriverPackage, InstalledItsPageShowsItsNamesItsCleaningPagePrintsAndRemovalLeavesNoState) {
    PrinterEnvironment env;
    env.LockShared();  // the package's files have fixed names in the shared driver folder
    const std::wstring dir = PackageDir();
    const std::wstring model = IniValue(dir + L"zvaa.ini", L"OEMFiles", L"OEMDriverName");
    ASSERT_FALSE(model.empty()) << "make package";
    std::vector<std::wstring> written;
    for (const Architecture &a : InstalledArchitectures()) {
        InfDriver driver;
        std::wstring error;
        ASSERT_TRUE(ReadInfDriver(dir + L"zvaa.inf", model, a.arch, &driver, &error) &&
                    InstallInfDriver(driver, a.environment, &written, &error))
            << std::string(error.begin(), error.end());
        EXPECT_TRUE(DriverInstalled(model, a.environment));
    }
    // Added beside the environment's own printers: adding one through it would reinstall the driver.
    const std::wstring printer = L"Zelvorn ZV-30 " + env.Tag(), port = env.NewPortPath();
    ASSERT_TRUE(AddPrinterOnPort(printer, model, port));
    std::wstring stateKey;
    const std::wstring plugin = PluginOfInstalledDriver(model);
    EXPECT_EQ(Lower(env.DriverFilesDir() + L"zvaaSUI.dll"), Lower(plugin));
    {
        DriverUiHost host(plugin);
        ASSERT_TRUE(host.Ok());
        ASSERT_EQ(S_OK, host.NotifyPrinterInstalled(printer));
        stateKey = StateKeyPathOf(printer);  // named by the friendly name the event gave the printer
        EXPECT_TRUE(StateKeyPresent(stateKey));

        // Colour and black, as installed: the names of the package's INI, and the cleaning page of the pair.
        std::wstring left, right;
        DialogRobot robot;
        robot.Next([&](DialogView &sheet) {
            HWND page = PropSheet_GetCurrentPageHwnd(sheet.Handle());
            WCHAR text[MAX_PATH] = L"";
            GetDlgItemTextW(page, IDC_LEFT_TYPE, text, ARRAYSIZE(text));
            left = text;
            GetDlgItemTextW(page, IDC_RIGHT_TYPE, text, ARRAYSIZE(text));
            right = text;
            SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_CLEAN_NOZZLES, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_CLEAN_NOZZLES)));
            sheet.Press(IDCANCEL);
        });
        EXPECT_EQ(1, host.ShowPrinterProperties(printer).pagesAdded);
        EXPECT_EQ(LocalisedIniValue(dir + L"zvaa.ini", L"CART_STD"), left);
        EXPECT_EQ(LocalisedIniValue(dir + L"zvaa.ini", L"CART_BLK"), right);
        EXPECT_TRUE(ReadPortFile(port) == FramedJob(ReadFileBytes(dir + L"zvaacln4.out")));

        // Removed as the spooler removes it: the printer, then the driver's deleted event, then the driver.
        HANDLE handle = nullptr;
        EXPECT_TRUE(OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr) && DeletePrinter(handle));
        ClosePrinter(handle);
        DRIVER_INFO_3W info = {};
        info.cVersion = 3;
        info.pName = const_cast<LPWSTR>(model.c_str());
        EXPECT_EQ(S_OK, host.Plugin()->DriverEvent(DRIVER_EVENT_DELETE, 3, reinterpret_cast<LPBYTE>(&info), 0));
    }
    for (const Architecture &a : InstalledArchitectures()) {
        EXPECT_TRUE(DeletePrinterDriverExW(nullptr, const_cast<LPWSTR>(a.environment), const_cast<LPWSTR>(model.c_str()),
                                           0, 0));
        EXPECT_FALSE(DriverInstalled(model, a.environment));
    }
    for (const std::wstring &file : written) DeleteFileW(file.c_str());
    EXPECT_FALSE(StateKeyPresent(stateKey));
}
