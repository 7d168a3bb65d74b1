// Browser discovery in HKEY_CLASSES_ROOT: how the registered command is cut down to a path, and the
// existence test. Each test registers a browser name of its own, so parallel runs do not meet.
#include <gtest/gtest.h>

#include <string>

#include "ui/SuppliesBrowser.h"

namespace {

class RegisteredBrowser : public testing::Test {
protected:
    void SetUp() override {
        m_exe = L"ZVTEST" + std::to_wstring(GetCurrentProcessId()) + L".EXE";
        WCHAR temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathW(ARRAYSIZE(temp), temp));
        m_dir = std::wstring(temp) + L"zv browser " + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_dir.c_str(), nullptr);
        m_spaced = m_dir + L"\\Min Webbläsare.exe";  // a path with blanks in two places
        Touch(m_spaced);
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"Applications\\" + m_exe).c_str());
        DeleteFileW(m_spaced.c_str());
        RemoveDirectoryW(m_dir.c_str());
    }
    static void Touch(const std::wstring &path) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
    }
    void Register(const std::wstring &command) {
        HKEY key = nullptr;
        const std::wstring path = L"Applications\\" + m_exe + L"\\shell\\Open\\command";
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(WCHAR)));
        RegCloseKey(key);
    }
    std::wstring Found() {
        WCHAR path[kTextChars];
        path[0] = L'x';
        FindBrowser(m_exe.c_str(), path);
        return path;
    }

    std::wstring m_exe, m_dir, m_spaced;
};

TEST_F(RegisteredBrowser, QuotedPathAfterLeadingSpacesIsFoundWithoutItsQuotes) {
    Register(L"   \"" + m_spaced + L"\" -nohome \"%1\"");
    EXPECT_EQ(m_spaced, Found());
}

TEST_F(RegisteredBrowser, QuotedPathWithoutClosingQuoteRunsToTheEnd) {
    Register(L"\"" + m_spaced);
    EXPECT_EQ(m_spaced, Found());
}

TEST_F(RegisteredBrowser, UnquotedPathIsCutAtItsFirstSpaceAndThenNotFound) {
    Register(m_spaced + L" %1");  // cut to "...\zv" which does not exist
    EXPECT_EQ(L"", Found());
    Register(L"C:\\windows\\system32\\notepad.exe %1");
    EXPECT_EQ(L"C:\\windows\\system32\\notepad.exe", Found());
}

TEST_F(RegisteredBrowser, MissingRegistrationMissingFileAndOverlongCommandFindNothing) {
    EXPECT_EQ(L"", Found());
    Register(L"\"" + m_dir + L"\\finns inte.exe\" %1");
    EXPECT_EQ(L"", Found());
    Register(L"");
    EXPECT_EQ(L"", Found());
    // The command is read into 100 characters; a longer one counts as no registration.
    Register(L"\"" + m_spaced + L"\"" + std::wstring(120 - m_spaced.size(), L' ') + L"%1");
    EXPECT_EQ(L"", Found());
}

}  // namespace
