// A printer installation on Wine's own spooler and registry for one test: a driver of its own, printers
// whose ports are Unix files, driver INI files and print files in the driver files directory, and the
// configuration INI. Everything it made is removed again when the object goes, so each test starts clean.
//
// Tests of one program run as parallel Wine processes in one prefix, so every name it makes carries a
// tag unique to the object (driver, printers, ports, INI file names). Things that exist once per machine
// (the default printer, files in the system directory, print files with their fixed names, the "OFN1"
// state key) are taken under one machine-wide lock, held until the object goes; the default printer is
// put back as it was.
//
// Call it outside any HandleLedger window: its own platform calls go through the same import table.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class PrinterEnvironment {
public:
    PrinterEnvironment();
    ~PrinterEnvironment();
    PrinterEnvironment(const PrinterEnvironment &) = delete;
    PrinterEnvironment &operator=(const PrinterEnvironment &) = delete;

    // Unique to this object, e.g. "(1a2b.3)", and never part of another tag; in every name below.
    const std::wstring &Tag() const { return m_tag; }

    // --- Drivers --------------------------------------------------------------------------------
    // The driver this environment installs by default: "ZV Testdrivrutin <tag>".
    const std::wstring &DriverName() const { return m_driverName; }
    // Installs a driver under `name` (the default driver when empty); TRUE when it is installed.
    // Repeating it for an installed name is harmless. Removed in teardown.
    bool InstallDriver(const std::wstring &name = std::wstring());

    // --- Printers -------------------------------------------------------------------------------
    // Adds a printer named "Testskrivare <tag>-<n>" (or `name`), on `driver` (the default driver,
    // installed on demand, when empty) and on a fresh Unix file port (or `port`). Returns the printer
    // name, empty on failure.
    std::wstring AddTestPrinter(const std::wstring &name = std::wstring(), const std::wstring &driver = std::wstring(),
                            const std::wstring &port = std::wstring());
    // A fresh Unix path for a port file: inside the prefix's temporary folder, unique to this object.
    std::wstring NewPortPath();
    // The port a printer added here was given.
    std::wstring PortOf(const std::wstring &printer) const;
    // The bytes the printer's port file has received so far (empty when it has none).
    std::string ReadPortBytes(const std::wstring &printer) const;
    // Renames a printer (SetPrinterW level 2); teardown still finds it through its driver.
    bool RenamePrinter(const std::wstring &from, const std::wstring &to);
    // Moves a printer to another port (SetPrinterW level 2), as an administrator does.
    bool MovePrinterToPort(const std::wstring &printer, const std::wstring &port);
    bool PrinterExists(const std::wstring &printer) const;
    bool DeletePrinterNamed(const std::wstring &printer);

    // --- Files ------------------------------------------------------------------------------------
    // The driver files directory, Windows path ending in "\3\".
    std::wstring DriverFilesDir() const;
    // Writes an INI file (UTF-16 with byte-order mark, so any text survives) into the driver files
    // directory; returns its full path. Use names with Tag() in them, or LockShared() first.
    std::wstring WriteDriverIni(const std::wstring &fileName, const std::wstring &text);
    // The driver INI of `driver` (the default driver when empty): "[OEMFiles]" with its
    // "OEMDriverName", followed by `moreText` (more keys of OEMFiles, then other sections). Written as
    // "<tag>-<n>.ini"; returns its path.
    std::wstring WriteOwnDriverIni(const std::wstring &moreText = std::wstring(),
                                   const std::wstring &driver = std::wstring());
    // Writes a driver file with a fixed name (print files such as "zvaacln4.out") into the driver
    // files directory; takes the machine-wide lock, since the name is not this object's own.
    std::wstring WriteDriverFile(const std::wstring &fileName, const std::string &bytes);
    // Writes the configuration INI of the system directory ("zvaaPLC.INI"); takes the lock. Every
    // printer of every test process reads it: switch nothing on there that changes what another
    // test's installation does (DefaultPrinter=1 would make its printer the default).
    std::wstring WriteConfigIni(const std::wstring &text);
    // Writes a configuration INI that only this object's printers read: a file of its own, named by
    // PLC= in a driver INI of its driver (written the first time). Returns its path.
    std::wstring WriteOwnConfigIni(const std::wstring &text);
    // Writes any file (removed in teardown); the path's folder must exist.
    std::wstring WriteFileAt(const std::wstring &path, const std::string &bytes);
    // A folder of this object's own (Windows path ending in "\"), made on first use.
    std::wstring ScratchDir();
    // The system directory, ending in "\".
    static std::wstring SystemDir();

    // --- State keys -------------------------------------------------------------------------------
    // HKLM path of a state key for a friendly name: "Software\Zelvorn\" + name.
    static std::wstring StateKeyPath(const std::wstring &friendlyName);
    static bool StateKeyPresent(const std::wstring &friendlyName);
    static void DeleteStateKey(const std::wstring &friendlyName);
    // One value of a state key: its registry type and its bytes. False when the key or value is missing.
    static bool ReadStateValue(const std::wstring &friendlyName, const wchar_t *valueName, DWORD *type,
                               std::string *bytes);
    // The names of the values the key holds.
    static std::vector<std::wstring> StateValueNames(const std::wstring &friendlyName);
    // "<driver> <port>" of a printer added here, as the plug-in names its state key.
    std::wstring FriendlyNameOf(const std::wstring &printer) const;

    // --- Machine-wide things ------------------------------------------------------------------------
    // Takes the machine-wide lock (once; held until teardown) and notes the default printer, which
    // teardown restores. Call before touching the default printer, the "OFN1" key or system files.
    void LockShared();
    static std::wstring DefaultPrinter();

    // Removes everything made here; the destructor calls it. Safe to call twice.
    void Teardown();

private:
    struct Printer {
        std::wstring name;
        std::wstring port;
    };
    std::wstring m_tag;
    std::wstring m_driverName;
    std::vector<std::wstring> m_drivers;
    std::vector<Printer> m_printers;
    std::vector<std::wstring> m_files;
    std::wstring m_scratch;
    unsigned m_counter = 0;
    HANDLE m_sharedLock = nullptr;
    std::wstring m_savedDefault;
    bool m_torndown = false;
    bool m_ownConfig = false;
};
