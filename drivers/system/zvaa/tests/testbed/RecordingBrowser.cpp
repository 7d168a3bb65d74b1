#include "testbed/RecordingBrowser.h"

#include <windows.h>

namespace {
constexpr wchar_t kBrowserKey[] = L"Applications\\NETSCAPE.EXE";
constexpr wchar_t kCommandKey[] = L"Applications\\NETSCAPE.EXE\\shell\\Open\\command";
constexpr wchar_t kRecordVariable[] = L"ZVAA_BROWSER_RECORD";

std::wstring BrowserBesideProgram() {
    WCHAR path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    if (length == 0 || length >= ARRAYSIZE(path)) return std::wstring();
    std::wstring program = path;
    program.resize(program.find_last_of(L'\\') + 1);
    return program + L"recording_browser.exe";
}

std::wstring ReadWholeText(const std::wstring &path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::wstring();
    WCHAR text[600] = {};
    DWORD got = 0;
    ReadFile(file, text, sizeof text - sizeof(WCHAR), &got, nullptr);
    CloseHandle(file);
    return text;
}
}  // namespace

bool RecordingBrowser::PlantCopyAt(const std::wstring &path) {
    m_registered = true;  // so that Unregister removes the copy
    if (!CopyFileW(BrowserBesideProgram().c_str(), path.c_str(), FALSE)) return false;
    m_copies.push_back(path);
    return true;
}

bool RecordingBrowser::RegisterCopyAt(const std::wstring &path, const std::wstring &scratchDir,
                                      const std::wstring &before, const std::wstring &after) {
    if (!PlantCopyAt(path)) return false;
    m_program = path;
    return Register(scratchDir, before, after);
}

std::wstring RecordingBrowser::RecordedProgram() const { return ReadWholeText(m_record + L".program"); }

bool RecordingBrowser::Register(const std::wstring &scratchDir, const std::wstring &before, const std::wstring &after) {
    if (m_program.empty()) m_program = BrowserBesideProgram();
    if (m_program.empty()) return false;
    m_record = scratchDir + L"browser.txt";
    SetEnvironmentVariableW(kRecordVariable, m_record.c_str());
    m_registered = true;

    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const std::wstring command = before + L"\"" + m_program + L"\"" + after;
    const LSTATUS set = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(command.c_str()),
                                       static_cast<DWORD>((command.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

void RecordingBrowser::Unregister() {
    if (!m_registered) return;
    m_registered = false;
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kBrowserKey);
    SetEnvironmentVariableW(kRecordVariable, nullptr);
    DeleteFileW(m_record.c_str());
    DeleteFileW((m_record + L".program").c_str());
    for (const std::wstring &copy : m_copies) DeleteFileW(copy.c_str());
    m_copies.clear();
}

std::wstring RecordingBrowser::WaitForRecord() const {
    for (int i = 0; i < 100; ++i) {
        const std::wstring text = ReadWholeText(m_record);
        if (!text.empty()) return text;
        Sleep(50);
    }
    return std::wstring();
}
