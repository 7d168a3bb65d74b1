#include <gtest/gtest.h>

#include "testbed/PluginLibrary.h"

namespace {

// The canary can only be seeded before protected frames are on the stack, so the check runs in a
// program of its own that seeds it first, as the DLL does on attach.
TEST(StackGuard, ASmashedFrameEndsTheProcessWithTheOverrunStatus) {
    wchar_t program[MAX_PATH];
    PathBesideProgram(L"bed_stack_smash.exe", program, MAX_PATH);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(program, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 10000));
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(0xC0000409u, code);
}

}  // namespace
