#include "ui/UnsavedSettingsMessage.h"

#include <strsafe.h>

#include "core/ModelProfile.h"
#include "core/TextBuffers.h"
#include "resources/ResourceIds.h"

void TellSettingsNotSaved(HWND dialog, DWORD reason) {
    WCHAR text[kTextChars] = L"";
    if (LoadStringW(Model().module, IDS_SETTINGS_NOT_SAVED, text, kTextChars) <= 0) text[0] = L'\0';
    // The platform's own words for the reason, in the user's language.
    WCHAR why[kTextChars] = L"";
    if (!FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, reason, 0, why,
                        kTextChars, nullptr))
        why[0] = L'\0';
    WCHAR message[2 * kTextChars + 2];
    const HRESULT joined = StringCchPrintfW(message, ARRAYSIZE(message), L"%s\n\n%s", text, why);
    if (FAILED(joined) && joined != STRSAFE_E_INSUFFICIENT_BUFFER) return;
    WCHAR title[kTextChars] = L"";
    if (!dialog || GetWindowTextW(dialog, title, kTextChars) <= 0) title[0] = L'\0';
    MessageBoxW(dialog, message, title, MB_OK | MB_ICONWARNING);
}
