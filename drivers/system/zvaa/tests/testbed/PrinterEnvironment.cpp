#include "testbed/PrinterEnvironment.h"

#include <winspool.h>
#include <strsafe.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "testbed/PortFile.h"
#include "testbed/PrinterInstall.h"
#include "testbed/StateKeyProbe.h"
#include "testbed/WinePaths.h"

namespace {

constexpr wchar_t kStateRoot[] = L"Software\\Zelvorn";
constexpr wchar_t kSharedLockName[] = L"ZvaaTestPrinterEnvironmentShared";
constexpr wchar_t kDefaultPrinterKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

bool WriteWholeFile(const std::wstring &path, const void *data, DWORD size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = size == 0 || WriteFile(file, data, size, &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}

std::wstring Utf16Ini(const std::wstring &text) {
    std::wstring body;
    body.push_back(L'\xFEFF');
    for (wchar_t c : text) {
        if (c == L'\n' && (body.empty() || body.back() != L'\r')) body.push_back(L'\r');
        body.push_back(c);
    }
    return body;
}

bool DeleteOnePrinter(const std::wstring &name) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, &defaults)) return false;
    const BOOL ok = DeletePrinter(printer);
    ClosePrinter(printer);
    return ok != FALSE;
}

// Each local printer with the name of its driver.
std::vector<std::pair<std::wstring, std::wstring>> LocalPrintersWithDrivers() {
    std::vector<std::pair<std::wstring, std::wstring>> out;
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    if (!needed) return out;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count)) return out;
    auto *info = reinterpret_cast<PRINTER_INFO_2W *>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        out.emplace_back(info[i].pPrinterName ? info[i].pPrinterName : L"",
                         info[i].pDriverName ? info[i].pDriverName : L"");
    return out;
}

unsigned NextObjectNumber() {
    static LONG counter = 0;
    return (unsigned)InterlockedIncrement(&counter);
}

}  // namespace

PrinterEnvironment::PrinterEnvironment() {
    WCHAR tag[32];
    // Bracketed, so that no tag is part of another (process 20 against 120, object 1 against 12):
    // teardown removes the state keys whose names contain it.
    StringCchPrintfW(tag, ARRAYSIZE(tag), L"(%lx.%u)", GetCurrentProcessId(), NextObjectNumber());
    m_tag = tag;
    m_driverName = L"ZV Testdrivrutin " + m_tag;
}

PrinterEnvironment::~PrinterEnvironment() { Teardown(); }

bool PrinterEnvironment::InstallDriver(const std::wstring &nameOrEmpty) {
    const std::wstring name = nameOrEmpty.empty() ? m_driverName : nameOrEmpty;
    if (std::find(m_drivers.begin(), m_drivers.end(), name) != m_drivers.end()) return true;

    // The spooler wants the driver's three files to be present in the driver files directory.
    const std::wstring stem = L"zvtest-" + m_tag + L"-" + std::to_wstring(m_drivers.size());
    const std::wstring driverFile = stem + L".drv", dataFile = stem + L".dat", configFile = stem + L".cfg";
    for (const std::wstring *file : {&driverFile, &dataFile, &configFile})
        if (WriteFileAt(DriverFilesDir() + *file, std::string()).empty()) return false;

    if (!AddDriverOfFiles(name, driverFile, dataFile, configFile, false)) return false;
    m_drivers.push_back(name);
    return true;
}

std::wstring PrinterEnvironment::NewPortPath() {
    WCHAR temp[MAX_PATH];
    if (!GetTempPathW(ARRAYSIZE(temp), temp)) return std::wstring();
    const std::wstring unixDir = UnixPathOf(temp);
    if (unixDir.empty()) return std::wstring();
    std::wstring path = unixDir;
    if (path.back() != L'/') path += L'/';
    return path + L"zvaa-port-" + m_tag + L"-" + std::to_wstring(++m_counter) + L".prn";
}

std::wstring PrinterEnvironment::AddTestPrinter(const std::wstring &nameIn, const std::wstring &driverIn,
                                            const std::wstring &portIn) {
    const std::wstring driver = driverIn.empty() ? m_driverName : driverIn;
    if (!InstallDriver(driver)) return std::wstring();
    const std::wstring name =
        nameIn.empty() ? L"Testskrivare " + m_tag + L"-" + std::to_wstring(++m_counter) : nameIn;
    const std::wstring port = portIn.empty() ? NewPortPath() : portIn;
    if (port.empty()) return std::wstring();

    if (!AddPrinterOnPort(name, driver, port)) return std::wstring();
    m_printers.push_back({name, port});
    return name;
}

std::wstring PrinterEnvironment::PortOf(const std::wstring &printer) const {
    for (const Printer &p : m_printers)
        if (p.name == printer) return p.port;
    return std::wstring();
}

std::string PrinterEnvironment::ReadPortBytes(const std::wstring &printer) const {
    return ReadPortFile(PortOf(printer));
}

namespace {
// Changes a printer's level-2 record as `change` says (SetPrinterW, as an administrator does).
bool ChangePrinter(const std::wstring &name, const std::function<void(PRINTER_INFO_2W &)> &change) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, &defaults)) return false;
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    bool ok = false;
    if (needed && GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
        auto *info = reinterpret_cast<PRINTER_INFO_2W *>(buffer.data());
        change(*info);
        info->pSecurityDescriptor = nullptr;
        ok = SetPrinterW(printer, 2, buffer.data(), 0) != FALSE;
    }
    ClosePrinter(printer);
    return ok;
}
}  // namespace

bool PrinterEnvironment::RenamePrinter(const std::wstring &from, const std::wstring &to) {
    if (!ChangePrinter(from, [&](PRINTER_INFO_2W &info) { info.pPrinterName = const_cast<LPWSTR>(to.c_str()); }))
        return false;
    for (Printer &p : m_printers)
        if (p.name == from) p.name = to;
    return true;
}

bool PrinterEnvironment::MovePrinterToPort(const std::wstring &printer, const std::wstring &port) {
    if (!ChangePrinter(printer, [&](PRINTER_INFO_2W &info) { info.pPortName = const_cast<LPWSTR>(port.c_str()); }))
        return false;
    for (Printer &p : m_printers)
        if (p.name == printer) p.port = port;
    return true;
}

bool PrinterEnvironment::PrinterExists(const std::wstring &printer) const { return ::PrinterExists(printer); }

bool PrinterEnvironment::DeletePrinterNamed(const std::wstring &printer) { return DeleteOnePrinter(printer); }

std::wstring PrinterEnvironment::DriverFilesDir() const { return DriverFilesDirectory(); }

std::wstring PrinterEnvironment::WriteFileAt(const std::wstring &path, const std::string &bytes) {
    if (!WriteWholeFile(path, bytes.data(), (DWORD)bytes.size())) return std::wstring();
    if (std::find(m_files.begin(), m_files.end(), path) == m_files.end()) m_files.push_back(path);
    return path;
}

std::wstring PrinterEnvironment::WriteDriverIni(const std::wstring &fileName, const std::wstring &text) {
    const std::wstring body = Utf16Ini(text);
    return WriteFileAt(DriverFilesDir() + fileName,
                       std::string(reinterpret_cast<const char *>(body.data()), body.size() * sizeof(wchar_t)));
}

std::wstring PrinterEnvironment::WriteOwnDriverIni(const std::wstring &moreText, const std::wstring &driver) {
    const std::wstring name = driver.empty() ? m_driverName : driver;
    return WriteDriverIni(L"zvtest-" + m_tag + L"-" + std::to_wstring(++m_counter) + L".ini",
                          L"[OEMFiles]\nOEMDriverName=" + name + L"\n" + moreText);
}

std::wstring PrinterEnvironment::WriteDriverFile(const std::wstring &fileName, const std::string &bytes) {
    LockShared();
    return WriteFileAt(DriverFilesDir() + fileName, bytes);
}

std::wstring PrinterEnvironment::WriteConfigIni(const std::wstring &text) {
    LockShared();
    const std::wstring body = Utf16Ini(text);
    return WriteFileAt(SystemDir() + L"zvaaPLC.INI",
                       std::string(reinterpret_cast<const char *>(body.data()), body.size() * sizeof(wchar_t)));
}

std::wstring PrinterEnvironment::WriteOwnConfigIni(const std::wstring &text) {
    const std::wstring dir = ScratchDir();
    if (dir.empty()) return std::wstring();
    const std::wstring body = Utf16Ini(text);
    const std::wstring path = WriteFileAt(dir + L"zvaaPLC.INI", std::string(reinterpret_cast<const char *>(body.data()),
                                                                           body.size() * sizeof(wchar_t)));
    if (!path.empty() && !m_ownConfig) m_ownConfig = !WriteOwnDriverIni(L"PLC=" + path + L"\n").empty();
    return path;
}

std::wstring PrinterEnvironment::ScratchDir() {
    if (m_scratch.empty()) {
        WCHAR temp[MAX_PATH];
        if (!GetTempPathW(ARRAYSIZE(temp), temp)) return std::wstring();
        const std::wstring dir = std::wstring(temp) + L"zvaa-scratch-" + m_tag + L"\\";
        if (!CreateDirectoryW(dir.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return std::wstring();
        m_scratch = dir;
    }
    return m_scratch;
}

std::wstring PrinterEnvironment::SystemDir() {
    WCHAR dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, ARRAYSIZE(dir));
    return std::wstring(dir) + L"\\";
}

std::wstring PrinterEnvironment::StateKeyPath(const std::wstring &friendlyName) {
    return ::StateKeyPath(friendlyName);
}

bool PrinterEnvironment::StateKeyPresent(const std::wstring &friendlyName) {
    return ::StateKeyPresent(::StateKeyPath(friendlyName));
}

void PrinterEnvironment::DeleteStateKey(const std::wstring &friendlyName) { ::DeleteStateKey(friendlyName); }

bool PrinterEnvironment::ReadStateValue(const std::wstring &friendlyName, const wchar_t *valueName, DWORD *type,
                                        std::string *bytes) {
    return ReadStateKeyValue(::StateKeyPath(friendlyName), valueName, type, bytes);
}

std::vector<std::wstring> PrinterEnvironment::StateValueNames(const std::wstring &friendlyName) {
    std::vector<std::wstring> names;
    for (const StateKeyValue &value : ReadStateKeyValues(::StateKeyPath(friendlyName))) names.push_back(value.name);
    return names;
}

std::wstring PrinterEnvironment::FriendlyNameOf(const std::wstring &printer) const {
    for (const Printer &p : m_printers)
        if (p.name == printer) {
            HANDLE handle = nullptr;
            if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), &handle, nullptr)) return std::wstring();
            DWORD needed = 0;
            GetPrinterW(handle, 2, nullptr, 0, &needed);
            std::vector<BYTE> buffer(needed ? needed : 1);
            std::wstring name;
            if (needed && GetPrinterW(handle, 2, buffer.data(), needed, &needed)) {
                auto *info = reinterpret_cast<PRINTER_INFO_2W *>(buffer.data());
                name = std::wstring(info->pDriverName) + L" " + info->pPortName;
            }
            ClosePrinter(handle);
            return name;
        }
    return std::wstring();
}

std::wstring PrinterEnvironment::DefaultPrinter() {
    WCHAR name[MAX_PATH + 1] = {};
    DWORD size = ARRAYSIZE(name);
    if (!GetDefaultPrinterW(name, &size)) return std::wstring();
    return name;
}

void PrinterEnvironment::LockShared() {
    if (m_sharedLock) return;
    HANDLE lock = CreateMutexW(nullptr, FALSE, kSharedLockName);
    if (!lock) return;
    // An abandoned lock (a test process that died holding it) is ours now all the same.
    const DWORD waited = WaitForSingleObject(lock, 60000);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(lock);
        return;
    }
    m_sharedLock = lock;
    m_savedDefault = DefaultPrinter();
}

void PrinterEnvironment::Teardown() {
    if (m_torndown) return;
    m_torndown = true;

    // Printers of this object's drivers, under whatever name they carry now, then the drivers.
    for (const auto &printer : LocalPrintersWithDrivers())
        if (std::find(m_drivers.begin(), m_drivers.end(), printer.second) != m_drivers.end())
            DeleteOnePrinter(printer.first);
    for (const Printer &p : m_printers) DeleteOnePrinter(p.name);
    for (const std::wstring &driver : m_drivers)
        DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(driver.c_str()));

    // State keys named after this object's drivers and ports.
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kStateRoot, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &root) == ERROR_SUCCESS) {
        std::vector<std::wstring> doomed;
        WCHAR name[MAX_PATH];
        for (DWORD i = 0;; ++i) {
            DWORD size = ARRAYSIZE(name);
            if (RegEnumKeyExW(root, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (wcsstr(name, m_tag.c_str())) doomed.push_back(name);
        }
        for (const std::wstring &key : doomed) RegDeleteTreeW(root, key.c_str());
        RegCloseKey(root);
    }

    for (const std::wstring &file : m_files) DeleteFileW(file.c_str());
    for (const Printer &p : m_printers)
        if (p.port.find(m_tag) != std::wstring::npos) DeleteFileW(WindowsPathOf(p.port).c_str());
    if (!m_scratch.empty()) {
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((m_scratch + L"*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileW((m_scratch + found.cFileName).c_str());
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        RemoveDirectoryW(m_scratch.c_str());
    }

    if (m_sharedLock) {
        DeleteStateKey(L"OFN1");
        if (DefaultPrinter() != m_savedDefault) {
            if (!m_savedDefault.empty()) {
                SetDefaultPrinterW(m_savedDefault.c_str());
            } else {
                HKEY windows = nullptr;
                if (RegOpenKeyExW(HKEY_CURRENT_USER, kDefaultPrinterKey, 0, KEY_SET_VALUE, &windows) == ERROR_SUCCESS) {
                    RegDeleteValueW(windows, L"Device");
                    RegCloseKey(windows);
                }
            }
        }
        ReleaseMutex(m_sharedLock);
        CloseHandle(m_sharedLock);
        m_sharedLock = nullptr;
    }
}
