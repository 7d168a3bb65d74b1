// What a dialog says when the printer's state could not be stored: a standard user may be refused
// writes to the state tree, and the choices made in the dialog would otherwise be lost without a word.
#pragma once

#include <windows.h>

// One message box owned by the dialog, titled as the dialog (the printer's name): "Inställningarna
// kunde inte sparas." and the platform's text for `reason`, a system error code.
void TellSettingsNotSaved(HWND dialog, DWORD reason);

// Notes the first failure of a series of writes: the error code the failed write left behind.
class WriteOutcome {
public:
    void Note(bool written) {
        if (!written && m_reason == ERROR_SUCCESS) m_reason = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    }
    bool Failed() const { return m_reason != ERROR_SUCCESS; }
    DWORD Reason() const { return m_reason; }

private:
    DWORD m_reason = ERROR_SUCCESS;
};
