// The least printer class installer, which Wine lacks: what a printer-class INF installs for one model on
// one architecture, read with the platform's INF parser (SetupAPI), the files copied into the spooler's
// driver files directory of that architecture and the driver added to the spooler, as Windows' class
// installer does for a package-aware Unidrv-based driver. The core driver's own files (Unidrv, which
// Wine does not have) are empty stand-ins.
#pragma once

#include <string>
#include <vector>

struct InfDriver {
    std::wstring model;
    std::wstring installSection;       // the model's line in the decorated models section
    std::wstring dataFile;             // DataFile of the install section
    std::vector<std::wstring> files;   // every file its CopyFiles names, the data file among them
    std::vector<std::wstring> sources; // each file's Windows path in the package, by [SourceDisksFiles]
};

// Reads `model`'s driver for `arch` ("x86" or "amd64": the INF decorations NTx86 / NTamd64 and the
// source sections' .x86 / .amd64). False with `error` saying which step of the INF failed.
bool ReadInfDriver(const std::wstring &infPath, const std::wstring &model, const std::wstring &arch, InfDriver *driver,
                   std::wstring *error);

// Installs the driver for `environment` ("Windows x64", "Windows NT x86"): the files copied into its
// driver files directory, then AddPrinterDriverExW level 3 with the data file, the core driver's driver
// and configuration files (stand-ins) and every other file as a dependent file. Every file written is
// added to `written` (full Windows paths), for the caller to remove.
bool InstallInfDriver(const InfDriver &driver, const std::wstring &environment, std::vector<std::wstring> *written,
                      std::wstring *error);

// The plug-in library of an installed driver as the driver's user interface finds it: the INI among the
// driver's dependent files whose [OEMFiles] names OEMConfigFile1, that file in the driver files directory.
// Empty when there is none.
std::wstring PluginOfInstalledDriver(const std::wstring &driver);
