#include "testbed/InfInstaller.h"

#include <windows.h>
#include <setupapi.h>
#include <winspool.h>

namespace {

// Stand-ins for the core driver's files, named as Unidrv's data section names them.
constexpr wchar_t kCoreDriverFile[] = L"unidrv.dll";
constexpr wchar_t kCoreConfigFile[] = L"unidrvui.dll";

class Inf {
public:
    explicit Inf(const std::wstring &path) : m_inf(SetupOpenInfFileW(path.c_str(), nullptr, INF_STYLE_WIN4, nullptr)) {}
    ~Inf() {
        if (m_inf != INVALID_HANDLE_VALUE) SetupCloseInfFile(m_inf);
    }
    Inf(const Inf &) = delete;
    Inf &operator=(const Inf &) = delete;
    bool Ok() const { return m_inf != INVALID_HANDLE_VALUE; }

    // Field `index` of the line `key` of `section` (the first line when `key` is empty); empty when missing.
    std::wstring Field(const std::wstring &section, const std::wstring &key, DWORD index) const {
        INFCONTEXT line;
        if (!SetupFindFirstLineW(m_inf, section.c_str(), key.empty() ? nullptr : key.c_str(), &line)) return L"";
        return FieldOf(line, index);
    }
    // Every line's field `index` of a section.
    std::vector<std::wstring> Column(const std::wstring &section, DWORD index) const {
        std::vector<std::wstring> values;
        INFCONTEXT line;
        for (BOOL more = SetupFindFirstLineW(m_inf, section.c_str(), nullptr, &line); more;
             more = SetupFindNextLine(&line, &line))
            values.push_back(FieldOf(line, index));
        return values;
    }
    // Every field of line `key` (the first line when `key` is empty) from field 1 on.
    std::vector<std::wstring> Fields(const std::wstring &section, const std::wstring &key) const {
        std::vector<std::wstring> values;
        INFCONTEXT line;
        if (!SetupFindFirstLineW(m_inf, section.c_str(), key.empty() ? nullptr : key.c_str(), &line)) return values;
        for (DWORD i = 1, count = SetupGetFieldCount(&line); i <= count; ++i) values.push_back(FieldOf(line, i));
        return values;
    }

private:
    static std::wstring FieldOf(INFCONTEXT &line, DWORD index) {
        WCHAR value[MAX_PATH] = L"";
        if (!SetupGetStringFieldW(&line, index, value, ARRAYSIZE(value), nullptr)) return L"";
        return value;
    }
    HINF m_inf;
};

std::wstring DriverFilesDirOf(const std::wstring &environment) {
    WCHAR dir[MAX_PATH] = L"";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(environment.c_str()), 1,
                                    reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed))
        return L"";
    CreateDirectoryW(dir, nullptr);
    const std::wstring files = std::wstring(dir) + L"\\3\\";
    CreateDirectoryW(files.c_str(), nullptr);
    return files;
}

}  // namespace

bool ReadInfDriver(const std::wstring &infPath, const std::wstring &model, const std::wstring &arch, InfDriver *driver,
                   std::wstring *error) {
    const Inf inf(infPath);
    if (!inf.Ok()) return *error = L"SetupOpenInfFileW refuses " + infPath, false;
    const std::wstring decoration = arch == L"amd64" ? L"NTamd64" : L"NTx86";
    const std::vector<std::wstring> maker = inf.Fields(L"Manufacturer", L"");
    bool decorated = false;
    for (size_t i = 1; i < maker.size(); ++i) decorated = decorated || _wcsicmp(maker[i].c_str(), decoration.c_str()) == 0;
    if (maker.empty() || !decorated) return *error = L"[Manufacturer] has no " + decoration, false;

    *driver = InfDriver();
    driver->model = model;
    driver->installSection = inf.Field(maker[0] + L"." + decoration, model, 1);
    if (driver->installSection.empty()) return *error = L"no model \"" + model + L"\" for " + decoration, false;
    driver->dataFile = inf.Field(driver->installSection, L"DataFile", 1);
    for (const std::wstring &entry : inf.Fields(driver->installSection, L"CopyFiles")) {
        if (!entry.empty() && entry[0] == L'@') driver->files.push_back(entry.substr(1));
        else
            for (const std::wstring &file : inf.Column(entry, 1)) driver->files.push_back(file);
    }
    if (driver->dataFile.empty() || driver->files.empty()) return *error = L"no DataFile or CopyFiles", false;

    const std::wstring folder = infPath.substr(0, infPath.find_last_of(L'\\') + 1);
    for (const std::wstring &file : driver->files) {
        std::wstring disk = inf.Field(L"SourceDisksFiles." + arch, file, 1);
        if (disk.empty()) disk = inf.Field(L"SourceDisksFiles", file, 1);
        if (disk.empty()) return *error = file + L" is in no [SourceDisksFiles]", false;
        std::wstring disks = L"SourceDisksNames." + arch;
        if (inf.Field(disks, disk, 1).empty()) disks = L"SourceDisksNames";
        if (inf.Field(disks, disk, 1).empty()) return *error = L"disk " + disk + L" of " + file + L" is undescribed", false;
        const std::wstring path = inf.Field(disks, disk, 4);
        driver->sources.push_back(folder + (path.empty() ? L"" : path + L"\\") + file);
    }
    return true;
}

bool InstallInfDriver(const InfDriver &driver, const std::wstring &environment, std::vector<std::wstring> *written,
                      std::wstring *error) {
    const std::wstring dir = DriverFilesDirOf(environment);
    if (dir.empty()) return *error = L"no driver directory for " + environment, false;
    for (size_t i = 0; i < driver.files.size(); ++i) {
        if (!CopyFileW(driver.sources[i].c_str(), (dir + driver.files[i]).c_str(), FALSE))
            return *error = L"cannot copy " + driver.sources[i], false;
        written->push_back(dir + driver.files[i]);
    }
    for (const wchar_t *standIn : {kCoreDriverFile, kCoreConfigFile}) {
        HANDLE file = CreateFileW((dir + standIn).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return *error = L"cannot write " + dir + standIn, false;
        CloseHandle(file);
        written->push_back(dir + standIn);
    }

    std::wstring dependent;
    for (const std::wstring &file : driver.files)
        if (_wcsicmp(file.c_str(), driver.dataFile.c_str()) != 0) dependent += file + L'\0';
    dependent += L'\0';
    DRIVER_INFO_3W info = {};
    info.cVersion = 3;
    info.pName = const_cast<LPWSTR>(driver.model.c_str());
    info.pEnvironment = const_cast<LPWSTR>(environment.c_str());
    info.pDriverPath = const_cast<LPWSTR>(kCoreDriverFile);
    info.pDataFile = const_cast<LPWSTR>(driver.dataFile.c_str());
    info.pConfigFile = const_cast<LPWSTR>(kCoreConfigFile);
    info.pDependentFiles = &dependent[0];
    info.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&info), APD_COPY_NEW_FILES))
        return *error = L"AddPrinterDriverExW failed for " + environment + L": " + std::to_wstring(GetLastError()),
               false;
    return true;
}

std::wstring PluginOfInstalledDriver(const std::wstring &driverName) {
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, nullptr, 3, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrinterDriversW(nullptr, nullptr, 3, buffer.data(), needed, &needed, &count)) return L"";
    const auto *drivers = reinterpret_cast<const DRIVER_INFO_3W *>(buffer.data());
    for (DWORD d = 0; d < count; ++d) {
        if (!drivers[d].pName || driverName != drivers[d].pName || !drivers[d].pDependentFiles) continue;
        const std::wstring path = drivers[d].pDriverPath ? drivers[d].pDriverPath : L"";
        const std::wstring dir = path.substr(0, path.find_last_of(L'\\') + 1);
        for (const wchar_t *file = drivers[d].pDependentFiles; *file; file += wcslen(file) + 1) {
            std::wstring name = file;
            if (name.size() < 4 || _wcsicmp(name.c_str() + name.size() - 4, L".ini") != 0) continue;
            if (name.find(L'\\') == std::wstring::npos) name = dir + name;
            WCHAR plugin[MAX_PATH] = L"";
            GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", plugin, ARRAYSIZE(plugin), name.c_str());
            if (plugin[0]) return dir + plugin;
        }
    }
    return L"";
}
