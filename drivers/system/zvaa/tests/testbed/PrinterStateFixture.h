// A test printer's state key as an installation leaves it, made and read with the platform's own
// calls (so that black-box tests need nothing of the plug-in's code): the printer data
// "OriginalFriendlyName" (driver name, a blank, port name, no terminator) and the key
// HKLM\Software\Zelvorn\<that name>. PrinterEnvironment's teardown removes the key with the printer.
#pragma once

#include <windows.h>

#include <string>

#include "testbed/InkCounterNames.h"

class PrinterEnvironment;

class PrinterStateFixture {
public:
    PrinterStateFixture(PrinterEnvironment &environment, const std::wstring &printer);

    // Writes the printer data and a key with the pair, every counter at `level`, AlignNeed, and the
    // default alignment values of black + colour (17, 6, 17, 17, 17, 17) and colour + photo
    // (17, 6, 17, 17). True when everything was written.
    bool Install(LONG left, LONG right, DWORD level = 1000, LONG alignNeed = 1);

    const std::wstring &FriendlyName() const { return m_friendlyName; }
    std::wstring KeyPath() const;

    bool SetBinary(const wchar_t *name, LONG value) const;  // REG_BINARY, 4 bytes
    bool SetDword(const wchar_t *name, DWORD value) const;  // REG_DWORD
    bool Remove(const wchar_t *name) const;
    // A 4-byte value of any type; false when it is missing.
    bool Read(const wchar_t *name, LONG *value) const;
    // The value, or `missing` when there is none.
    LONG Get(const wchar_t *name, LONG missing = -12345) const;

private:
    std::wstring m_printer;
    std::wstring m_friendlyName;
};
