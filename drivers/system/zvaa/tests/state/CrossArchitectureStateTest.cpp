// One state tree for the printer software's 32-bit and 64-bit parts: in one 64-bit prefix the 64-bit
// build of the state code (this program) and the 32-bit build (the x86 tree's state peer) each read,
// refill and delete what the other wrote, and nothing lands in the 64-bit registry view.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "state/DriverStateKeys.h"
#include "state/PrinterStateKey.h"
#include "testbed/PrinterEnvironment.h"

#if defined(_WIN64)
namespace {

// The x86 build's peer program, as the x64 tree was configured with it.
std::wstring X86Peer() {
#ifdef ZVAA_X86_PEER
    std::wstring path = L"Z:" ZVAA_X86_PEER;
    for (wchar_t &c : path)
        if (c == L'/') c = L'\\';
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? std::wstring() : path;
#else
    return std::wstring();
#endif
}

// Runs the peer and returns its first output line; "exit N" when it failed.
std::string RunPeer(const std::wstring &command, const std::wstring &argument, const std::wstring &more = L"") {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "no pipe";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring line = L"\"" + X86Peer() + L"\" " + command + L" \"" + argument + L"\"" + (more.empty() ? L"" : L" " + more);
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = start.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
    CloseHandle(writeEnd);
    std::string output;
    char chunk[256];
    DWORD got = 0;
    while (started && ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got) output.append(chunk, got);
    CloseHandle(readEnd);
    if (!started) return "not started";
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (code != 0) return "exit " + std::to_string(code);
    return output.substr(0, output.find_first_of("\r\n"));
}

// The same "left right c0 ... c10" line from this build's reads.
std::string ReadHere(const std::wstring &printer) {
    CartridgeType left = kCartNone, right = kCartNone;
    InkLevelSet levels = {};
    if (!ReadCartridges(printer.c_str(), &left, &right) || !ReadInkLevels(printer.c_str(), &levels)) return "unread";
    std::string line = std::to_string(left) + " " + std::to_string(right);
    for (DWORD counter : levels.counters) line += " " + std::to_string(counter);
    return line;
}

bool InThe64BitView(const std::wstring &friendly) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, PrinterEnvironment::StateKeyPath(friendly).c_str(), 0,
                      KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Why the 32-bit peer cannot run here; empty when it can.
std::string PeerMissing() {
    if (X86Peer().empty()) return "the x86 tree's state peer is not built (make build builds both)";
    // Set by the test scripts (cmake/wine-loader.sh): a kernel without 32-bit emulation starts no
    // 32-bit program, WOW64 or not.
    char runs32[4] = "";
    if (GetEnvironmentVariableA("ZVAA_RUNS_32BIT", runs32, sizeof runs32) == 1 && runs32[0] == '0')
        return "this machine runs no 32-bit programs (ia32 emulation is off)";
    return std::string();
}

}  // namespace

TEST(CrossArchitectureState, The32BitBuildFindsTheDriverFilesInTheX64Folder) {
    if (!PeerMissing().empty()) GTEST_SKIP() << PeerMissing();
    // The driver is installed for x64 only, its INI and print file in x64\3, as a 64-bit package puts them.
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring ini = env.WriteOwnDriverIni();
    std::string expectedIni(ini.begin(), ini.end()), dir = expectedIni.substr(0, expectedIni.rfind('\\') + 1);
    EXPECT_EQ(dir + "|" + expectedIni + "|" + dir + "zvsdclr1.dll", RunPeer(L"files", printer));
    EXPECT_NE(std::string::npos, dir.find("\\x64\\3\\")) << dir;
}

TEST(CrossArchitectureState, The32BitAnd64BitBuildsShareOneTreeInThe32BitView) {
    if (!PeerMissing().empty()) GTEST_SKIP() << PeerMissing();
    PrinterEnvironment env;
    const std::wstring printer = env.AddTestPrinter();
    const std::wstring friendly = env.FriendlyNameOf(printer);
    // The default pair (colour, black) and full counters: K, K2, C, C2, M, M2, Y, Y2, PhotoK, PhotoC, PhotoM.
    const std::string full = "3 1 610000000 1100000000 550000000 915000000 550000000 915000000 550000000 "
                             "915000000 231000000 231000000 231000000";

    // Written by the 32-bit build: read, refilled and deleted by the 64-bit build.
    ASSERT_EQ("", RunPeer(L"init", printer));
    ASSERT_EQ("", RunPeer(L"lower", printer, L"7"));
    EXPECT_EQ("3 1 7 7 7 7 7 7 7 7 7 7 7", ReadHere(printer));
    ASSERT_TRUE(RefillInkLevels(printer.c_str(), kCartColour));
    EXPECT_EQ("3 1 7 7 550000000 7 550000000 7 550000000 7 7 7 7", RunPeer(L"read", printer));
    EXPECT_FALSE(InThe64BitView(friendly));
    DeleteDriverStateKeys(env.DriverName().c_str());
    EXPECT_EQ("none", RunPeer(L"read", printer));

    // And the other way round.
    ASSERT_TRUE(InitPrinterState(printer.c_str()));
    EXPECT_FALSE(InThe64BitView(friendly));
    EXPECT_EQ(full, RunPeer(L"read", printer));
    ASSERT_EQ("", RunPeer(L"lower", printer, L"9"));
    ASSERT_EQ("", RunPeer(L"refill", printer, L"1"));
    EXPECT_EQ("3 1 610000000 9 9 9 9 9 9 9 9 9 9", ReadHere(printer));
    ASSERT_EQ("", RunPeer(L"delete", env.DriverName()));
    EXPECT_FALSE(PrinterEnvironment::StateKeyPresent(friendly));
    EXPECT_FALSE(InThe64BitView(friendly));
}
#endif
