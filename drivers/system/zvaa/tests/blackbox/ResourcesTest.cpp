// The DLL's resources carry their Swedish texts code point for code point.
#include <gtest/gtest.h>

#include <string>

#include "testbed/PluginLibrary.h"

namespace {

std::wstring LoadText(HMODULE module, UINT id) {
    const wchar_t *text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);  // a pointer into the resource
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

TEST(Resources, SwedishTextsArriveIntact) {
    PluginLibrary dll;
    ASSERT_NE(nullptr, dll.module());

    // U+00E4 ä, U+00F6 ö, U+00E5 å, U+00C4 Ä, compared as code points, not as printed text.
    EXPECT_EQ(std::wstring(L"Installera/Byta bl\u00E4ckpatron"), LoadText(dll.module(), 18));
    EXPECT_EQ(std::wstring(L"F\u00F6rbered justering"), LoadText(dll.module(), 26));
    EXPECT_EQ(std::wstring(L"Instruktioner vid slut p\u00E5 papper"), LoadText(dll.module(), 44));
    EXPECT_EQ(std::wstring(L"Identifiering av Bl\u00E4ckpatroner"), LoadText(dll.module(), 38));
    EXPECT_EQ(std::wstring(L"Denna \u00E5tg\u00E4rd hj\u00E4lper till att identifiera bl\u00E4ckpatronerna"),
              LoadText(dll.module(), 30));

    WCHAR buffer[8];
    EXPECT_EQ(7, LoadStringW(dll.module(), 23, buffer, ARRAYSIZE(buffer)));  // cut to fit, terminated
    EXPECT_EQ(std::wstring(L"Ingen b"), buffer);
}

TEST(Resources, VersionInformationIsSwedish) {
    PluginLibrary dll;
    HRSRC version = FindResourceW(dll.module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
    ASSERT_NE(nullptr, version);
    const auto *data = static_cast<const BYTE *>(LockResource(LoadResource(dll.module(), version)));
    const DWORD size = SizeofResource(dll.module(), version);
    const std::wstring block(reinterpret_cast<const wchar_t *>(data), size / sizeof(wchar_t));
    EXPECT_NE(std::wstring::npos, block.find(L"041D04B0"));
    EXPECT_NE(std::wstring::npos, block.find(L"Anv\u00E4ndargr\u00E4nssnitt f\u00F6r skrivardrivrutin"));
}

}  // namespace
