#include "testbed/PortFile.h"

#include <windows.h>

#include "testbed/WinePaths.h"

std::string ReadPortFile(const std::wstring &port) {
    return port.empty() ? std::string() : ReadFileBytes(WindowsPathOf(port));
}

std::string ReadFileBytes(const std::wstring &path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool ClearPortFile(const std::wstring &port) {
    HANDLE file = CreateFileW(WindowsPathOf(port).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string FramedJob(const std::string &content) {
    const std::string start("\xA5\x00\x05\x40\xE0\x83\x00\x01", 8);
    const std::string open("\xA5\x00\x06\x40\x05\x00\x00\x00\x00", 9);
    const std::string close("\xA5\x00\x06\x40\x05\x01\x00\x00\x01", 9);
    return start + open + content + close;
}
