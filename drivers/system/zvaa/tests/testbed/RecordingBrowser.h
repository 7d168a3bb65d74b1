// A stand-in web browser for tests of ordering supplies: recording_browser.exe (beside the test
// program) registered in HKEY_CLASSES_ROOT as the preferred browser; started, it writes its command
// line into a record file that the test reads back. The registration is machine-wide: hold the
// printer environment's shared lock while it is in place.
#pragma once

#include <string>
#include <vector>

class RecordingBrowser {
public:
    ~RecordingBrowser() { Unregister(); }

    // Registers the browser with the command `before` + quoted program path + `after`, e.g.
    // (L"", L" %1"); the record goes into `scratchDir`. FALSE when the registration failed.
    bool Register(const std::wstring &scratchDir, const std::wstring &before, const std::wstring &after);
    // The same for a copy of the browser at `path` (its folder must exist), removed again by Unregister.
    bool RegisterCopyAt(const std::wstring &path, const std::wstring &scratchDir, const std::wstring &before,
                        const std::wstring &after);
    // Plants another copy of the browser at `path`, removed again by Unregister.
    bool PlantCopyAt(const std::wstring &path);
    // Removes the registration and the record; harmless when nothing is registered.
    void Unregister();

    const std::wstring &Program() const { return m_program; }
    const std::wstring &RecordPath() const { return m_record; }
    // The command line the browser was started with, waiting up to five seconds; empty if it never ran.
    std::wstring WaitForRecord() const;
    // The path of the program that wrote the record (call after WaitForRecord); empty if none ran.
    std::wstring RecordedProgram() const;

private:
    std::wstring m_program, m_record;
    std::vector<std::wstring> m_copies;
    bool m_registered = false;
};
