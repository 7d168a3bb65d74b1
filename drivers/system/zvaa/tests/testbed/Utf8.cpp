#include "testbed/Utf8.h"

#include <windows.h>

std::string Utf8(const std::wstring &text) {
    std::string out;
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return out;
    out.resize(static_cast<size_t>(n - 1));
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const char *text) {
    std::wstring out;
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (n <= 1) return out;
    out.resize(static_cast<size_t>(n - 1));
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &out[0], n);
    return out;
}
